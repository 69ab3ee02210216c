#include "net/JobSupport.h"

#include <cstdio>
#include <fstream>

#include "model/Clock.h"
#include "model/Diagnostics.h"
#include "net/PictureHeader.h"
#include "net/ServiceForms.h"
#include "store/StorePaths.h"

namespace kivtal {

std::string PostForm(JobContext& ctx, const char* path, const std::string& body, std::string_view postLabel,
                     std::string_view replyLabel) {
    if (!postLabel.empty()) DebugLine(std::string(postLabel) + body);
    std::string reply;
    if (ctx.net.httpRequest("POST", ApiUrl(ctx.config, path), body, reply) != NetUtil::kOk) reply.clear();
    if (!replyLabel.empty()) DebugLine(std::string(replyLabel) + reply);
    return reply;
}

void PostResult(JobContext& ctx, unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
    if (ctx.post) ctx.post(message, wParam, lParam);
}

std::string PictureFileName(const std::string& address) {
    const std::size_t slash = address.rfind('/');
    if (slash != std::string::npos) {
        std::string name = address.substr(slash + 1);
        // "." and ".." (or nothing) would name the folder itself or its parent.
        if (!name.empty() && name != "." && name != "..") return name;
    }
    return std::to_string(NowSeconds());
}

namespace {

// A JPEG's metadata (a preview, a colour profile) may come before its frame header.
constexpr std::size_t kPictureHeadBytes = std::size_t{1} << 20;

// Whether the picture declares more pixels than may be decoded; only its header is read.
bool DeclaresTooManyPixels(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(kPictureHeadBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    const auto size = DeclaredPictureSize(head);
    return size && std::uint64_t{size->width} * size->height > kMaxPicturePixels;
}

}  // namespace

std::string DownloadPicture(JobContext& ctx, const std::string& folder, const std::string& address) {
    const std::string dir = ctx.downloadDir + folder + "/";
    MakeDirectories(dir);
    const std::string local = dir + PictureFileName(address);
    // A picture too large to decode is dropped like a failed download.
    if (ctx.net.downloadFile(address, local) && DeclaresTooManyPixels(local)) std::remove(local.c_str());
    return local;
}

}  // namespace kivtal
