// nivractl commands on configuration images without a mouse: `builtin` writes a built-in
// image to a file, `show` distributes an image file as the program does and reports it.
#include "files/file_bytes.h"
#include "image/builtin.h"
#include "device/image_state.h"
#include "image/code_texts.h"
#include "image/codes.h"
#include "image/fields.h"
#include "image/working_copy.h"
#include "settings/mouse_session.h"
#include "settings/profile_model.h"
#include "tools/nivractl/cli.h"
#include "tools/nivractl/command.h"
#include "macro/fire_listing.h"
#include "tools/nivractl/image_json.h"
#include "macro/device_area.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using nivra::Image;

// Reads a whole configuration image; anything but exactly 2048 readable bytes is refused.
bool readImageFile(const std::string& path, Image& img, std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!nivra::readFileUpTo(path, bytes, nivra::kImageSize, &error)) return false;
    if (bytes.size() != nivra::kImageSize) {
        error = path + " is " + std::to_string(bytes.size()) + " bytes, not 2048 bytes, the size of a configuration image";
        return false;
    }
    std::copy_n(bytes.begin(), nivra::kImageSize, img.begin());
    return true;
}

nivractl::Result runBuiltin(const nivractl::Invocation& inv) {
    if (inv.args.size() != 2) return nivractl::usageError("builtin");
    const std::string& n = inv.args[0];
    if (n != "1" && n != "2" && n != "3") return nivractl::usageError("builtin");
    const Image& img = nivra::builtinImage(n[0] - '0');
    std::string error;
    if (!nivra::writeFileAtomically(inv.args[1], img, &error)) return nivractl::fail(error);
    return nivractl::ok();
}

// JSON string: quotes, backslashes and control bytes escaped; the USB text's bytes are
// single-byte characters, so bytes from 0x80 are given as the code points U+0080..U+00FF.
std::string jsonString(std::string_view s, bool bytesAreLatin1) {
    std::string out = "\"";
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c == 0x7F || (bytesAreLatin1 && c >= 0x80)) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04X", c);
            out += esc;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string hex4(unsigned v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", v & 0xFFFF);
    return buf;
}

std::string codeObject(const std::string& text, const nivra::NameInputs& naming) {
    const nivra::CodeDescription d = nivra::describeCode(text, naming);
    return "{\"code\": " + jsonString(text, false) + ", \"id\": " + jsonString(d.id, false) +
           ", \"name\": " + jsonString(d.name, false) + "}";
}

nivractl::Result runShow(const nivractl::Invocation& inv) {
    bool json = false;
    std::string file;
    for (std::size_t i = 0; i < inv.args.size(); ++i) {
        if (inv.args[i] == "--json") {
            json = true;
        } else if (inv.args[i] == "--file" && i + 1 < inv.args.size() && file.empty()) {
            file = inv.args[++i];
        } else {
            return nivractl::usageError("show");
        }
    }
    if (!json) return nivractl::usageError("show");
    if (file.empty()) {
        // The whole image read from the mouse of the global options.
        return nivractl::withMouse(inv, [](nivractl::Connected& s) {
            nivractl::printImageJson(s.session().state().transfer);
            return nivractl::ok();
        });
    }

    Image fileImage;
    std::string error;
    if (!readImageFile(file, fileImage, error)) return nivractl::fail(error);
    nivractl::printImageJson(fileImage);
    return nivractl::ok();
}

}  // namespace

void nivractl::printImageJson(const Image& fileImage) {
    // As the program does it: the no-device state first holds built-in image 1 and
    // refreshes from it (which sets the LED type and the package choice the repairs use);
    // the image then arrives as from an I2C mouse.
    nivra::ImageState state;
    distributeImage(nivra::builtinImage(1), state.work, state.defaultInputs());
    nivra::DataBufToUI(state);
    state.package = nivra::packageChoiceForLedType(state.led);
    state.deviceMemory = nivra::MemoryType::I2C;
    state.transfer = fileImage;
    const nivra::SectionRepairs repairs = distributeImage(state.transfer, state.work, state.defaultInputs());
    nivra::DataBufToUI(state);

    const Image& w = state.work.bytes;
    const nivra::CodeTexts texts = nivra::codeTexts(state.work);
    nivra::NameInputs naming = nivra::nameInputsFromImage(w, nivra::MemoryType::I2C);
    // Names come from the English table; composed names (key combinations, macro names, fire
    // macros) come from the code itself. No gun key list file is read, so guns get their
    // fixed names.
    naming.language = [](std::string_view id) { return nivractl::english(id); };
    auto status = [](bool repaired) { return repaired ? "\"repaired\"" : "\"valid\""; };

    std::ostringstream out;
    out << "{\n  \"sections\": {\"vendor\": " << status(repairs.vendor) << ", \"user\": " << status(repairs.user)
        << ", \"profile1\": " << status(repairs.profile[0]) << ", \"profile2\": " << status(repairs.profile[1])
        << ", \"profile3\": " << status(repairs.profile[2]) << "},\n";
    out << "  \"buttons\": [";
    for (std::size_t p = 0; p < 3; ++p) {
        out << (p ? ",\n    [" : "\n    [");
        for (std::size_t k = 0; k < nivra::kKeysPerProfile; ++k)
            out << (k ? ",\n      " : "\n      ") << codeObject(texts.profile[p][k], naming);
        out << "\n    ]";
    }
    out << "\n  ],\n  \"combo_keys\": [";
    for (std::size_t n = 0; n < nivra::kComboKeyCount; ++n)
        out << (n ? ",\n    " : "\n    ") << codeObject(texts.combo[n], naming);
    out << "\n  ],\n";
    out << nivractl::advancedJson(w);
    out << "  \"identity\": {\"vid\": \"" << hex4(nivra::be16(w, nivra::offset::kVid)) << "\", \"pid\": \""
        << hex4(nivra::be16(w, nivra::offset::kPid)) << "\", \"manufacturer\": "
        << int(w[nivra::offset::kManufacturerId]) << ", \"product\": " << int(w[nivra::offset::kProductId])
        << ", \"usb_string\": " << jsonString(nivra::usbText(w), true) << ", \"memory\": \""
        << nivra::memoryTypeName(nivra::memoryTypeFromMarker(w[nivra::offset::kMemoryMarker])) << "\"},\n";
    out << "  \"led_type\": \"" << nivra::ledTypeName(state.led) << "\",\n";
    out << "  \"led\": " << nivractl::ledJson(w, state.led) << ",\n";
    // The profile in effect, the switch settings and the combo key slots as the profile
    // and button models read them.
    const int profile = (w[nivra::offset::kModeByte] & 0x0F) + 1;
    const nivra::SwitchSettings switches = nivra::deriveSwitchSettings(w, naming);
    out << "  \"profile\": " << (profile <= 3 ? std::to_string(profile) : std::string("null")) << ",\n";
    out << "  \"switch\": \"" << nivra::switchMethodWord(switches.method) << "\", \"led_chord\": "
        << (switches.ledChord ? "true" : "false") << ", \"gun_switch\": " << (switches.gunSwitch ? "true" : "false")
        << ",\n  \"slots\": [";
    for (std::size_t n = 0; n < nivra::kComboKeyCount; ++n)
        out << (n ? ", " : "") << "{\"code\": " << jsonString(texts.combo[n], false) << ", \"name\": "
            << jsonString(nivra::describeCode(texts.combo[n], naming).name, false) << "}";
    out << "],\n";
    // The device macros as the Macro page lists them.
    nivra::macro::DeviceMacros macros;
    macros.ReadAndRefreshMacro3740(state.work.deviceMacros());
    out << "  \"device_macros\": [";
    for (std::size_t k = 0; k < macros.count(); ++k)
        out << (k ? ", " : "") << "{\"name\": " << jsonString(macros.name(k), false) << ", \"address\": \""
            << hex4(macros.slot(k).address) << "\", \"length\": " << macros.macroLength(k) << "}";
    out << "],\n";
    // The ten fire macros as the fire macro editor lists them ("" for a name it leaves out).
    out << "  \"fire_macros\": [";
    for (std::size_t i = 0; i < nivra::kFireMacroCount; ++i)
        out << (i ? ", " : "") << "{\"name\": " << jsonString(nivra::macro::fireMacroNameText(state.work.fireMacroNames[i]), false)
            << ", \"length\": " << nivra::macro::fireMacroLength(state.work.fireMacroBodies[i]) << "}";
    out << "],\n";
    out << "  \"patch_check\": \"" << hex4(nivra::storedPatchCheck(w)) << "\"\n}\n";
    std::cout << out.str();
}

namespace {
NIVRACTL_COMMAND("builtin", "builtin N FILE          write built-in image N (1..3) to FILE (- for standard output), 2048 bytes", runBuiltin);
NIVRACTL_COMMAND("show", "show --json [--file IMAGE]  report an image file, or the mouse's image, as the program reads it",
                 runShow);

}  // namespace
