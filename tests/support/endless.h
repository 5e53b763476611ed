// endless.h: a named pipe that never ends, for readers that must refuse it.
//
// EndlessPipe makes a FIFO at `path`; a thread waits for a reader, writes
// `head` once, then `filler` again and again until the reader closes its end.
// The destructor stops the thread (opening the FIFO itself when no reader came)
// and removes the FIFO.
#pragma once

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

class EndlessPipe {
public:
    EndlessPipe(std::string path, std::string head, std::string filler) : fifo(std::move(path))
    {
        made = mkfifo(fifo.c_str(), 0600) == 0;
        // A write after the reader went fails with EPIPE instead of ending the test.
        std::signal(SIGPIPE, SIG_IGN);
        if (made)
            writer = std::thread([this, head = std::move(head), filler = std::move(filler)] { feed(head, filler); });
    }

    ~EndlessPipe()
    {
        if (!made)
            return;
        // A writer still waiting for its reader gets one, and stops.
        stop = true;
        int fd = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
        if (fd >= 0)
            close(fd);
        writer.join();
        unlink(fifo.c_str());
    }

    EndlessPipe(const EndlessPipe&) = delete;
    EndlessPipe& operator=(const EndlessPipe&) = delete;

    bool made = false;

private:
    void feed(const std::string& head, const std::string& filler)
    {
        int fd = open(fifo.c_str(), O_WRONLY);
        if (fd < 0)
            return;
        bool open = !stop && write(fd, head.data(), head.size()) == static_cast<ssize_t>(head.size());
        while (open && !stop)
            open = write(fd, filler.data(), filler.size()) > 0;
        close(fd);
    }

    std::string fifo;
    std::atomic<bool> stop = false;
    std::thread writer;
};
