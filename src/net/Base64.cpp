#include "net/Base64.h"

#include <openssl/evp.h>

#include <fstream>
#include <vector>

namespace kivtal {

namespace {

constexpr std::size_t kFileChunk = 8193;  // a multiple of 3: no "=" fill between chunks

void AppendBase64(std::string_view bytes, std::string& out) {
    if (bytes.empty()) return;
    const std::size_t offset = out.size();
    out.resize(offset + 4 * ((bytes.size() + 2) / 3) + 1);  // + the terminator EVP writes
    const int written =
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data() + offset),
                        reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
    out.resize(offset + static_cast<std::size_t>(written));
}

}  // namespace

bool Base64EncodeFile(const std::string& path, std::string& out) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::string encoded;
    std::vector<char> chunk(kFileChunk);
    while (file) {
        file.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        AppendBase64(std::string_view(chunk.data(), static_cast<std::size_t>(file.gcount())), encoded);
    }
    if (file.bad() || encoded.empty()) return false;
    out = std::move(encoded);
    return true;
}

}  // namespace kivtal
