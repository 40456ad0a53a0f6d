#pragma once

#include <array>
#include <cstdint>

#include "readers/parameter_record.h"

// The operations of a pcProx reader library that discovery, programming and the card read rely
// on. The real binding loads a library at run time; tests may supply a stand-in.
//
// Results come from outside the program and are not to be trusted: callers range-check every
// count and index before using it. A call that fails (the library lacks it, crashed or hung)
// gives 0 and leaves its outputs untouched, which every step reads as "nothing there".
namespace morvane {

inline constexpr std::size_t kCardBufferBytes = 8;
using CardBuffer = std::array<std::uint8_t, kCardBufferBytes>;

class ReaderLibrary {
  public:
    virtual ~ReaderLibrary() = default;

    // A reader step ("Reinitialize USB", "Read from USB") begins: a library that failed during
    // an earlier step may be tried again.
    virtual void beginStep() {}
    // False when a call of this step got no answer at all (the library crashed or hung), as
    // opposed to an answer that says it failed.
    virtual bool everyCallAnswered() const { return true; }
    // May be called from another thread while a step runs: the call waiting for the library, if
    // any, gives up at once as a hung call does, and so does every later call of the step.
    virtual void interrupt() {}

    virtual std::int16_t SetDevTypeSrch(std::int16_t searchType) = 0;
    virtual std::int16_t SetConnectProduct(std::int16_t product) = 0;
    virtual std::int16_t USBConnect(std::int32_t& deviceValue) = 0;
    virtual std::int16_t ReadCfg() = 0;
    virtual std::int16_t GetDevCnt() = 0;
    virtual std::int16_t SetActDev(std::int16_t index) = 0;
    virtual std::int16_t GetActDev() = 0;
    virtual std::int16_t GetLUID() = 0;
    virtual std::int16_t SetLUID(std::int16_t luid) = 0;
    // Calls the setter of the record's name: SetFlags, SetFlags2, ..., SetTimeParms.
    virtual std::int16_t setRecord(RecordId id, const ParameterRecord& record) = 0;
    virtual std::int16_t WriteCfg() = 0;
    // Fills the card buffer (size 8) and returns the number of card bits read.
    virtual std::int16_t GetActiveID(CardBuffer& buffer) = 0;
};

}  // namespace morvane
