// The two programs of the Linux build: climadesk, which runs stats without the
// window toolkit, and climadesk-window beside it, which takes its place for
// the window and every other subcommand.
#include "cli/run.h"
#include "support/program.h"

#include "records/logfile.h"

#include <filesystem>

namespace {

class WindowProgramTest : public ProgramTest {
protected:
    void writeLog(const std::string& name) const
    {
        std::vector<records::Record> recs = {{0, 456, 235}, {0, 0, 0}, {0, 612, 198}};
        records::assignTimes(recs, march15Noon, 60);
        writeText(name, records::formatLogFile(recs, 60));
    }
};

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

const std::string windowProgram = std::filesystem::path(CLIMADESK_EXE).parent_path() / "climadesk-window";

// What the dynamic loader loads for `program`, one library a line.
std::string loadedLibraries(const std::string& program)
{
    const char* const script = "import os, subprocess, sys\n"
                               "env = dict(os.environ, LD_TRACE_LOADED_OBJECTS='1')\n"
                               "sys.stdout.write(subprocess.run([sys.stdin.read()], env=env, capture_output=True,"
                               " text=True).stdout)\n";
    return runPython(script, program).out;
}

} // namespace

TEST_F(WindowProgramTest, StatsLoadsNoToolkitWhileTheWindowProgramDoes)
{
    const std::string command = loadedLibraries(CLIMADESK_EXE);
    EXPECT_TRUE(contains(command, "libc.so")) << command;
    EXPECT_FALSE(contains(command, "libQt6")) << command;
    EXPECT_FALSE(contains(command, "libjpeg")) << command;
    const std::string window = loadedLibraries(windowProgram);
    EXPECT_TRUE(contains(window, "libQt6Widgets")) << window;

    // Both give the same statistics, and the same usage errors.
    writeLog("in.log");
    const ProgramRun stats = runClimadesk({"stats", "in.log", "--json"});
    EXPECT_EQ(stats.exitCode, 0) << stats.err;
    EXPECT_TRUE(contains(stats.out, "\"count\": 3")) << stats.out;
    const char* const compare = "import subprocess, sys\n"
                                "program, log = sys.stdin.read().split('\\0')\n"
                                "for args in (['stats', log, '--json'], ['render', log]):\n"
                                "    r = subprocess.run([program] + args, capture_output=True)\n"
                                "    sys.stdout.buffer.write(b'%d\\0' % r.returncode + r.stdout + b'\\0' + r.stderr + b'\\0')\n";
    const ProgramRun direct = runPython(compare, windowProgram + '\0' + pathOf("in.log"));
    const ProgramRun handed = runPython(compare, std::string(CLIMADESK_EXE) + '\0' + pathOf("in.log"));
    EXPECT_EQ(handed.out, direct.out);
    EXPECT_TRUE(contains(direct.out, "\"count\": 3")) << direct.out;
    EXPECT_TRUE(contains(direct.out, "OUT.png is required")) << direct.out;
}

// Without arguments climadesk becomes the window program: the same process,
// the same name in argv[0] (the toolkit names the window after it).
TEST_F(WindowProgramTest, TheWindowProgramTakesThePlaceOfClimadesk)
{
    const char* const script = "import os, signal, subprocess, sys, time\n"
                               "program = sys.stdin.read()\n"
                               "env = dict(os.environ, QT_QPA_PLATFORM='offscreen')\n"
                               "child = subprocess.Popen([program], env=env, stderr=subprocess.DEVNULL)\n"
                               "running = ''\n"
                               "for _ in range(200):\n"
                               "    running = os.readlink('/proc/%d/exe' % child.pid)\n"
                               "    if running.endswith('-window') or child.poll() is not None:\n"
                               "        break\n"
                               "    time.sleep(0.05)\n"
                               "argv0 = open('/proc/%d/cmdline' % child.pid, 'rb').read().split(b'\\0')[0].decode()\n"
                               "alive = child.poll() is None\n"
                               "child.send_signal(signal.SIGKILL)\n"
                               "child.wait()\n"
                               "print(running, argv0, alive)\n";
    const ProgramRun run = runPython(script, CLIMADESK_EXE);
    EXPECT_EQ(run.out, std::filesystem::canonical(windowProgram).string() + " " + CLIMADESK_EXE + " True\n") << run.err;
}

// Alone, climadesk still runs stats; what needs the window program fails with
// its words.
TEST_F(WindowProgramTest, WithoutTheWindowProgramOnlyStatsRuns)
{
    writeLog("in.log");
    std::filesystem::copy_file(CLIMADESK_EXE, pathOf("climadesk"));
    const char* const script = "import subprocess, sys\n"
                               "program = sys.stdin.read()\n"
                               "for args in (['stats', 'in.log'], ['render', 'in.log', 'out.png'], []):\n"
                               "    r = subprocess.run([program] + args, capture_output=True, text=True)\n"
                               "    print(r.returncode, repr(r.stdout[:5]), repr(r.stderr))\n";
    const ProgramRun run = runPython(script, pathOf("climadesk"));
    EXPECT_EQ(run.out, "0 'From:' ''\n"
                       "1 '' \"Can't start climadesk-window\\n\"\n"
                       "1 '' \"Can't start climadesk-window\\n\"\n")
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(pathOf("out.png")));
}
