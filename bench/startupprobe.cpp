// Starts a program and reports the milliseconds until X maps its first top-level window whose
// title contains a given text, the CPU time the program had used by then, and its resident
// memory and CPU time a second later. On a loaded machine the wall time mostly measures the queue
// for the CPU; the CPU time does not grow with the load. Waiting on the server's map event, instead
// of polling for the window, keeps the probe off the CPU while the program starts, which matters on
// a two-core machine.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <string>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1.0e6;
}

std::string windowTitle(Display *display, Window window)
{
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data) {
        title.assign(reinterpret_cast<char *>(data), count);
        XFree(data);
    }
    if (title.empty()) {
        char *name = nullptr;
        if (XFetchName(display, window, &name) && name) {
            title = name;
            XFree(name);
        }
    }
    return title;
}

long residentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

// Milliseconds of CPU run by the live threads of a process, counted by the scheduler in
// nanoseconds (the tick-counted times of /proc/PID/stat are 10 ms coarse).
double cpuMs(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    double ns = 0;
    if (DIR *dir = opendir(tasks.c_str())) {
        while (const dirent *entry = readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
            double run = 0;
            if (stat >> run)
                ns += run;
        }
        closedir(dir);
    }
    return ns / 1.0e6;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TITLE-TEXT PROGRAM [ARGS...]\n", argv[0]);
        return 64;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "%s: no X display\n", argv[0]);
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const double start = nowMs();
    if (getenv("PROBE_ABS"))
        std::printf("START %.1f\n", start);
    const pid_t pid = fork();
    if (pid == 0) {
        // The program's own messages would interleave with the report.
        if (FILE *null = std::fopen("/dev/null", "w")) {
            dup2(fileno(null), 1);
            if (!getenv("PROBE_ABS"))
                dup2(fileno(null), 2);
        }
        execvp(argv[2], argv + 2);
        std::perror(argv[2]);
        _exit(127);
    }

    double shown = -1;
    double cpu = -1;
    const int fd = ConnectionNumber(display);
    while (shown < 0) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect &&
                windowTitle(display, event.xmap.window).find(argv[1]) != std::string::npos) {
                shown = nowMs();
                // Held still while it is counted, so the count ends at the window's mapping.
                kill(pid, SIGSTOP);
                cpu = cpuMs(pid);
                kill(pid, SIGCONT);
                break;
            }
        }
        if (shown >= 0)
            break;
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        timeval timeout{10, 0};
        if (select(fd + 1, &fds, nullptr, nullptr, &timeout) == 0) {
            std::fprintf(stderr, "%s: no window within 10 s\n", argv[0]);
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
            return 1;
        }
    }

    sleep(1);
    const long rss = residentKb(pid);
    // What the program does once shown (the first paint, an accessibility bridge's
    // registration) falls in this second.
    const double settledCpu = cpuMs(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    std::printf("window shown after %.1f ms, cpu %.1f ms, resident %ld kB, cpu after 1 s %.1f ms\n",
                shown - start, cpu, rss, settledCpu);
    XCloseDisplay(display);
    return 0;
}
