#include <cctype>
#include <filesystem>
#include <string>

#include "platform/Platform.h"

namespace vorlane::platform {
namespace {

namespace fs = std::filesystem;

// udev names each labelled device's link here after the label it read from the device.
constexpr const char* kLabelLinks = "/dev/disk/by-label";

int HexValue(char c) {
    if (std::isdigit(static_cast<unsigned char>(c))) {
        return c - '0';
    }
    const int lower = std::tolower(static_cast<unsigned char>(c));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

}  // namespace

// A link's name escapes blanks, slashes and other bytes as "\xNN".
std::string DecodeLabelLinkName(const std::string& name) {
    std::string label;
    for (std::size_t k = 0; k < name.size(); ++k) {
        if (name[k] == '\\' && k + 3 < name.size() && name[k + 1] == 'x') {
            const int high = HexValue(name[k + 2]);
            const int low = HexValue(name[k + 3]);
            if (high >= 0 && low >= 0) {
                label.push_back(static_cast<char>(high * 16 + low));
                k += 3;
                continue;
            }
        }
        label.push_back(name[k]);
    }
    return label;
}

std::string Platform::VolumeLabel(const Volume& volume) const {
    std::error_code error;
    const fs::path device = fs::canonical(volume.source, error);
    if (error) {
        return {};  // no device node (tmpfs, network shares): no label
    }
    for (const fs::directory_entry& link : fs::directory_iterator(kLabelLinks, error)) {
        std::error_code linkError;
        const fs::path target = fs::canonical(link.path(), linkError);
        if (!linkError && target == device) {
            return DecodeLabelLinkName(link.path().filename().string());
        }
    }
    return {};
}

}  // namespace vorlane::platform
