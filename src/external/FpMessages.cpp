#include "external/FpMessages.h"

namespace vorna {

bool IsListedDataCode(uint32_t code) {
    switch (static_cast<FpDataCode>(code)) {
    case FpDataCode::DotsData:
    case FpDataCode::S1Data:
    case FpDataCode::FpVersion:
    case FpDataCode::FpMethods:
    case FpDataCode::FpOption:
    case FpDataCode::StatusText:
    case FpDataCode::DotsTag:
    case FpDataCode::S1Tag:
    case FpDataCode::SaveSpectrum:
    case FpDataCode::LoadSpectrum:
    case FpDataCode::PutCalibEntries:
        return true;
    default:
        return code >= 3 && code <= 5; // reserved: taken, no effect
    }
}

bool DataCodeAnswersFailure(uint32_t code) {
    switch (static_cast<FpDataCode>(code)) {
    case FpDataCode::DotsData:
    case FpDataCode::S1Data:
    case FpDataCode::SaveSpectrum:
    case FpDataCode::LoadSpectrum:
    case FpDataCode::PutCalibEntries:
        return true;
    default:
        return false;
    }
}

bool CommandNeedsS1(int code) {
    if (code < 1)
        return false;
    switch (static_cast<FpCommandCode>(code)) {
    case FpCommandCode::GroupExists:
    case FpCommandCode::CalibrateEnabled:
    case FpCommandCode::LibraryPath:
    case FpCommandCode::LibraryShown:
    case FpCommandCode::LibraryLoaded:
    case FpCommandCode::DeviceState:
    case FpCommandCode::ConnectKestrel:
    case FpCommandCode::McaSecondsMode:
        return false;
    default:
        return true;
    }
}

} // namespace vorna
