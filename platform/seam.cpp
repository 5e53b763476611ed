// The test seam's state, the same for both backends: scripted steps and dialog
// answers, records, and the scripted mouse.
#include "platform/seam.h"

#include "platform/queue.h"
#include "platform/testing.h"

#include <deque>
#include <map>
#include <variant>

namespace platform {

namespace {

struct Answer {
    std::string kind;   // the dialog kind it answers
    std::string path;
    int pattern = 0;
    std::optional<Color> color;
};

struct TestState {
    bool active = false;
    std::deque<std::variant<Event, std::function<void()>>> script;
    std::deque<Answer> answers;
    std::vector<testing::Message> messages;
    std::vector<std::string> webAddresses;
    std::vector<std::string> failures;
    testing::DialogRequest lastDialog;
    bool exhaustedReported = false;
    int beeps = 0;
    std::map<int, Point> scriptedMouse;
};

TestState state;

// The next answer if it is for a dialog of `kind`; a failure otherwise.
std::optional<Answer> takeAnswer(const std::string& kind, const std::string& title)
{
    state.lastDialog = testing::DialogRequest{kind, title, "", "", ""};
    if (state.answers.empty() || state.answers.front().kind != kind) {
        state.failures.push_back("unscripted " + kind + " dialog \"" + title + "\"");
        return std::nullopt;
    }
    Answer answer = state.answers.front();
    state.answers.pop_front();
    return answer;
}

} // namespace

namespace testing {

void begin()
{
    state = TestState{};
    state.active = true;
}

void end()
{
    state = TestState{};
}

bool active()
{
    return state.active;
}

void post(Event event)
{
    state.script.emplace_back(event);
}

void post(std::function<void()> step)
{
    state.script.emplace_back(std::move(step));
}

int beeps()
{
    return state.beeps;
}

// ----- Dialog answers -----

void answerOpenFile(const std::string& path, int pattern)
{
    state.answers.push_back({"open file", path, pattern, std::nullopt});
}

void answerSaveFile(const std::string& path, int pattern)
{
    state.answers.push_back({"save file", path, pattern, std::nullopt});
}

void answerColor(std::optional<Color> color)
{
    state.answers.push_back({"colour", "", 0, color});
}

void answerPrint(const std::string& pdfPath)
{
    state.answers.push_back({"print", pdfPath, 0, std::nullopt});
}

// ----- Records -----

const std::vector<Message>& messages()
{
    return state.messages;
}

const std::vector<std::string>& openedWebAddresses()
{
    return state.webAddresses;
}

const DialogRequest& lastDialog()
{
    return state.lastDialog;
}

const std::vector<std::string>& failures()
{
    return state.failures;
}

} // namespace testing

namespace seam {

void runScriptStep()
{
    auto step = std::move(state.script.front());
    state.script.pop_front();
    if (auto* event = std::get_if<Event>(&step))
        queue::push(*event);
    else
        std::get<std::function<void()>>(step)();
}

bool scriptEmpty()
{
    return state.script.empty();
}

void scriptExhausted(int innermostWindow)
{
    if (!state.exhaustedReported)
        state.failures.push_back("the program waited for an event after the test script ended");
    state.exhaustedReported = true;
    if (innermostWindow >= 0)
        queue::push({EventKind::CloseRequest, innermostWindow, 0});
}

SplitPath splitPath(const std::string& path)
{
    size_t cut = path.find_last_of("\\/");
    if (cut == std::string::npos)
        return {std::string(), path};
    return {path.substr(0, cut + 1), path.substr(cut + 1)};
}

FileChoice scriptedFileChoice(const char* kind, const std::string& title, const SplitPath& proposal,
                              const std::string& patterns)
{
    std::optional<Answer> answer = takeAnswer(kind, title);
    testing::DialogRequest& request = state.lastDialog;
    request.folder = proposal.folder;
    request.fileName = proposal.fileName;
    request.patterns = patterns;
    if (!answer)
        return {std::string(), 0};
    return {answer->path, answer->pattern};
}

std::optional<Color> scriptedColor()
{
    std::optional<Answer> answer = takeAnswer("colour", "Color");
    return answer ? answer->color : std::nullopt;
}

std::optional<std::string> scriptedPrint()
{
    std::optional<Answer> answer = takeAnswer("print", "Print");
    if (!answer || answer->path.empty())
        return std::nullopt;
    return answer->path;
}

void recordMessage(const std::string& title, const std::string& text, MessageIcon icon)
{
    state.messages.push_back({title, text, icon});
}

void recordWebAddress(const std::string& url)
{
    state.webAddresses.push_back(url);
}

void countBeep()
{
    ++state.beeps;
}

void setScriptedMouse(int window, Point p)
{
    state.scriptedMouse[window] = p;
}

Point scriptedMouse(int window)
{
    auto it = state.scriptedMouse.find(window);
    return it == state.scriptedMouse.end() ? Point{-1, -1} : it->second;
}

} // namespace seam

} // namespace platform
