#pragma once

#include <string>
#include <string_view>

// What the conversion needs from whoever shows it: the window, the command line or a test.
namespace morvane {

// Somewhere to show a message box's text (OK button only, the program's name as title).
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void showMessage(std::string_view text) = 0;
};

// The Data Input boxes the window-set encoders read and, after a range error, set to the limit.
class EncoderHost : public MessageSink {
  public:
    virtual void setHotstampBox(std::string_view text) = 0;  // txtBoxSerialNo
    virtual void setFacilityBox(std::string_view text) = 0;  // txtFacilityCode
    virtual void setVersionBox(std::string_view text) = 0;   // txtVersion
    virtual std::string facilityBox() const = 0;
    virtual std::string versionBox() const = 0;
};

}  // namespace morvane
