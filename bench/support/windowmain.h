#pragma once

#include <QApplication>

#include <cstdio>
#include <exception>
#include <functional>

namespace parlix::bench {

// The body of a benchmark that shows windows: the offscreen platform unless
// one is chosen, and a failure said on stderr with exit status 1.
inline int windowMain(int argc, char** argv, const std::function<int()>& run)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    try {
        return run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "the benchmark failed\n");
    }
    return 1;
}

} // namespace parlix::bench
