// Times two commands as whole processes, in turn (A B A B ...), so that a
// machine whose speed drifts during the run weighs on both alike, and prints
// each one's wall time, CPU time (user + system) and peak memory as min,
// median and max, then the ratios A/B taken pair by pair.
//
//   n4-process-pairs [--runs N] [--warmup W] [--label TEXT] -- A... --vs B...
//
// Each command runs with empty standard input and its output thrown away.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Sample {
    double wallMs = 0, cpuMs = 0, peakMiB = 0;
    int status = 0;
};

Sample runOnce(const std::vector<char*>& argv) {
    Sample s;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    rusage usage{};
    wait4(child, &s.status, 0, &usage);
    s.wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    s.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    s.peakMiB = usage.ru_maxrss / 1024.0;
    return s;
}

struct Spread {
    double min, median, max;
};

Spread spread(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return {v.front(), n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2, v.back()};
}

void printRow(const char* name, const std::vector<double>& values, const char* format) {
    const Spread s = spread(values);
    std::printf("%-16s", name);
    std::printf(format, s.min);
    std::printf(format, s.median);
    std::printf(format, s.max);
    std::printf("\n");
}

std::string joined(const std::vector<char*>& argv) {
    std::string out;
    for (char* a : argv)
        if (a) out += (out.empty() ? "" : " ") + std::string(a);
    return out;
}

int usage() {
    std::fprintf(stderr, "usage: n4-process-pairs [--runs N] [--warmup W] [--label TEXT] "
                         "-- A... --vs B...\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    int runs = 11, warmup = 1;
    std::string label;
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (i + 1 >= argc) return usage();
        if (!std::strcmp(argv[i], "--runs"))
            runs = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--warmup"))
            warmup = std::max(0, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--label"))
            label = argv[++i];
        else
            return usage();
    }
    std::vector<char*> a, b;
    bool second = false;
    for (++i; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--vs")) {
            second = true;
            continue;
        }
        (second ? b : a).push_back(argv[i]);
    }
    if (a.empty() || b.empty()) return usage();
    a.push_back(nullptr);
    b.push_back(nullptr);

    for (int w = 0; w < warmup; ++w) {
        runOnce(a);
        runOnce(b);
    }
    std::vector<Sample> sa, sb;
    for (int r = 0; r < runs; ++r) {
        sa.push_back(runOnce(a));
        sb.push_back(runOnce(b));
    }
    auto column = [](const std::vector<Sample>& s, double Sample::*field) {
        std::vector<double> v;
        for (const Sample& x : s)
            v.push_back(x.*field);
        return v;
    };
    auto ratio = [&](double Sample::*field) {
        std::vector<double> v;
        for (int r = 0; r < runs; ++r)
            v.push_back(sa[r].*field / sb[r].*field);
        return v;
    };
    int failures = 0;
    for (const auto* s : {&sa, &sb})
        for (const Sample& x : *s)
            failures += !(WIFEXITED(x.status) && WEXITSTATUS(x.status) == 0);

    if (!label.empty()) std::printf("== %s\n", label.c_str());
    std::printf("A = %s\nB = %s\n%d pairs after %d warm-up pair(s)%s\n", joined(a).c_str(),
                joined(b).c_str(), runs, warmup,
                failures ? " -- SOME RUNS FAILED (exit status not 0)" : "");
    std::printf("%-16s%10s%10s%10s\n", "", "min", "median", "max");
    printRow("A wall ms", column(sa, &Sample::wallMs), "%10.1f");
    printRow("A cpu ms", column(sa, &Sample::cpuMs), "%10.1f");
    printRow("A peak MiB", column(sa, &Sample::peakMiB), "%10.1f");
    printRow("B wall ms", column(sb, &Sample::wallMs), "%10.1f");
    printRow("B cpu ms", column(sb, &Sample::cpuMs), "%10.1f");
    printRow("B peak MiB", column(sb, &Sample::peakMiB), "%10.1f");
    printRow("A/B wall", ratio(&Sample::wallMs), "%10.2f");
    printRow("A/B cpu", ratio(&Sample::cpuMs), "%10.2f");
    return failures ? 1 : 0;
}
