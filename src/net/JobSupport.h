#pragma once
// Small steps every service job repeats: sending a form with its console lines, and
// posting a result when a poster is present.
#include <cstdint>
#include <string>
#include <string_view>

#include "net/JobContext.h"

namespace kivtal {

// POSTs `body` to `path` on the API host and returns the reply ("" on any failure).
// Prints "<label> post:" + body before and "<label>::" + reply after, as the
// service's support staff know them from the console; an empty label prints nothing.
std::string PostForm(JobContext& ctx, const char* path, const std::string& body, std::string_view postLabel,
                     std::string_view replyLabel);

void PostResult(JobContext& ctx, unsigned message, std::intptr_t wParam, std::intptr_t lParam = 0);

// The file name a downloaded picture is saved under: the address's text after its last
// '/', or the current time in seconds when there is none usable.
std::string PictureFileName(const std::string& address);

// Downloads `address` into `folder` (created when missing) and returns the local
// path, whether or not the download succeeded.
std::string DownloadPicture(JobContext& ctx, const std::string& folder, const std::string& address);

}  // namespace kivtal
