#pragma once

// A media pipeline's threads as the tests see them, by name: GStreamer names the thread of each
// streaming task after the element and the pad it serves ("typefind:sink", "audioQueue:src"),
// cut to 15 characters ("mpegaudioparse0").

#include <glib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace test {

// The names of the process's threads.
inline std::vector<std::string> threadNames()
{
    // A streaming task runs on a thread of GLib's shared pool. When the task ends, GLib keeps one
    // such thread idle for up to 15 seconds, still under the name of its last task: a pipeline
    // already gone would seem to run on. Idle threads are let go at once instead.
    static const bool noIdleThreads = (g_thread_pool_set_max_unused_threads(0), true);
    (void)noIdleThreads;
    std::vector<std::string> names;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        std::getline(comm, name);
        names.push_back(name);
    }
    return names;
}

// True while a pipeline parses MP3 frames.
inline bool decodingMp3()
{
    const std::vector<std::string> names = threadNames();
    return std::any_of(names.begin(), names.end(), [](const std::string& name) { return name.starts_with("mpegaudioparse"); });
}

// True while any streaming task of a pipeline runs, from the first look at its data on.
inline bool pipelineRuns()
{
    const std::vector<std::string> names = threadNames();
    return std::any_of(names.begin(), names.end(), [](const std::string& name) {
        return name.find(':') != std::string::npos || name.starts_with("mpegaudioparse");
    });
}

} // namespace test
