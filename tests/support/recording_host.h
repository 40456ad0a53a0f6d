#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formats/encoder_host.h"

namespace morvane::test {

// Stands in for the window: remembers every message and every box write.
class RecordingHost : public EncoderHost {
  public:
    std::vector<std::string> messages;
    std::vector<std::string> hotstampWrites;
    std::vector<std::string> facilityWrites;
    std::vector<std::string> versionWrites;
    std::string facility = "0";
    std::string version = "0";

    void showMessage(std::string_view text) override { messages.emplace_back(text); }
    void setHotstampBox(std::string_view text) override { hotstampWrites.emplace_back(text); }
    void setFacilityBox(std::string_view text) override {
        facilityWrites.emplace_back(text);
        facility = text;
    }
    void setVersionBox(std::string_view text) override {
        versionWrites.emplace_back(text);
        version = text;
    }
    std::string facilityBox() const override { return facility; }
    std::string versionBox() const override { return version; }

    bool wroteNoBox() const {
        return hotstampWrites.empty() && facilityWrites.empty() && versionWrites.empty();
    }
};

}  // namespace morvane::test
