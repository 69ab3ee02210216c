#pragma once
// The CLI's stand-in for the result window: network jobs post their numbered results
// through JobContext::post, and the commands read them back afterwards.
#include <cstdint>
#include <mutex>
#include <vector>

#include "net/JobContext.h"

namespace kivtal::cli {

struct PostedResult {
    unsigned message = 0;
    std::intptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

class JobRecorder {
public:
    // A job context over the process's network and store, posting into this recorder.
    // Pictures and the installer that the jobs fetch go to the data folder.
    JobContext context(LocalStore& store);

    bool saw(unsigned message, std::intptr_t wParam) const;

private:
    void record(unsigned message, std::intptr_t wParam, std::intptr_t lParam);

    mutable std::mutex mutex_;
    std::vector<PostedResult> posted_;
};

}  // namespace kivtal::cli
