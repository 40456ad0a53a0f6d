#pragma once

#include <QObject>
#include <cstdint>
#include <string>

namespace morvane {

// What the pages share instead of each other's controls: the card format code and facility code
// in force, QRV mode, whether "&OK" hands back the bare prox data, whether a USB reader has
// been found, and whether a reader step (a USB or lock read, a search) is running on any page.
// A change is announced only when the value changes.
class WindowState : public QObject {
    Q_OBJECT

  public:
    using QObject::QObject;

    const std::string& cardFormat() const { return cardFormat_; }
    std::int32_t facilityCode() const { return facilityCode_; }
    bool qrvMode() const { return qrvMode_; }
    bool proxDataOnly() const { return proxDataOnly_; }
    bool readerFound() const { return readerFound_; }
    bool readerStepRunning() const { return readerStepRunning_; }

    void setCardFormat(const std::string& code);
    void setFacilityCode(std::int32_t code) { facilityCode_ = code; }
    // QRV mode, once entered, lasts until the program ends.
    void enterQrvMode();
    void setProxDataOnly(bool only) { proxDataOnly_ = only; }
    void setReaderFound(bool found);
    void setReaderStepRunning(bool running);

  signals:
    void cardFormatChanged();
    void qrvModeEntered();
    void readerFoundChanged(bool found);
    void readerStepRunningChanged(bool running);

  private:
    std::string cardFormat_;
    std::int32_t facilityCode_ = 0;
    bool qrvMode_ = false;
    bool proxDataOnly_ = false;
    bool readerFound_ = false;
    bool readerStepRunning_ = false;
};

}  // namespace morvane
