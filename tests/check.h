// A minimal test harness: CHECK records a result and reports a failure with its line; each test
// program ends with Summary(), which prints "N passed, N failed" and gives the exit code.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace check {

inline int passed, failed;
inline const char* current = "";
inline const char* only = nullptr;  // run only the test of this name (first argument)

inline void Init(int argc, char** argv) {
    if (argc > 1)
        only = argv[1];
}

inline bool Record(bool ok, const char* file, int line, const char* what, const char* format = nullptr, ...) {
    if (ok) {
        passed++;
        return true;
    }
    failed++;
    std::printf("FAIL %s:%d [%s] %s", file, line, current, what);
    if (format) {
        std::printf(": ");
        va_list args;
        va_start(args, format);
        std::vprintf(format, args);
        va_end(args);
    }
    std::printf("\n");
    std::fflush(stdout);
    return false;
}

inline void Run(const char* name, void (*test)()) {
    if (only && std::strcmp(only, name) != 0)
        return;
    current = name;
    int before = failed;
    test();
    std::printf("%s %s\n", failed == before ? "ok  " : "FAIL", name);
    std::fflush(stdout);
}

inline int Summary() {
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}

}  // namespace check

#define CHECK(cond) check::Record(!!(cond), __FILE__, __LINE__, #cond)
// CHECKF(cond, "format", ...) adds the formatted values to the report of a failure.
#define CHECKF(cond, ...) check::Record(!!(cond), __FILE__, __LINE__, #cond, __VA_ARGS__)
#define RUN(test) check::Run(#test, test)
