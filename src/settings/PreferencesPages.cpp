#include "settings/PreferencesPages.h"

namespace vorna {

namespace {

bool isDpp(int deviceType) {
    return deviceType >= 1 && deviceType <= 4;
}

} // namespace

PageDescription DescribePage(PreferencesPage page, int deviceType) {
    switch (page) {
    case PreferencesPage::General:
        return {"  &General  ", "Defaults - General", true, true};
    case PreferencesPage::Mca:
        // A DPP is set up in its own sheet: the Kestrel page stays visible but inert.
        if (isDpp(deviceType))
            return {"Vesta MCA Setup", " ", false, false};
        return {"  &MCA  ", "Defaults - MCA", true, true};
    case PreferencesPage::Analysis:
        return {"  &Analysis  ", "Defaults - Analysis", true, true};
    case PreferencesPage::Plot:
        break;
    }
    return {"  &Plot  ", "Defaults - Plot", true, true};
}

std::string McaOpeningMessage(int deviceType, const McaLinkState& link) {
    if (deviceType == 0 && !link.connected)
        return "MCA is not connected.  Certain parameters are disabled.";
    return {};
}

bool McaSecurityFieldsEnabled(int deviceType, const McaLinkState& link) {
    return deviceType == 0 && link.connected;
}

const std::vector<std::string>& FwhmMethodNames() {
    static const std::vector<std::string> names = {"Normal (N)", "Smoothing (SM)", "Percent (%)",
                                                   "Gauss (G)", "Variance(V)"};
    return names;
}

const std::vector<std::string>& FwhmSmoothNames() {
    static const std::vector<std::string> names = {"Three Point (SM3)", "Five Point (SM5)"};
    return names;
}

const std::vector<std::string>& CentroidMethodNames() {
    static const std::vector<std::string> names = {"Normal (N)", "Median (M)", "Gauss (G)"};
    return names;
}

const std::vector<std::string>& InitialPeakingTimes() {
    static const std::vector<std::string> names = {
        "0.8uS",  "1.6uS",  "2.4uS",  "3.2uS",  "4.0uS",  "4.8uS",  "5.6uS",  "6.4uS",
        "8.0uS",  "9.6uS",  "11.2uS", "12.8uS", "16.0uS", "19.2uS", "22.4uS", "25.6uS",
        "32.0uS", "38.4uS", "44.8uS", "51.2uS", "64.0uS", "76.8uS", "89.6uS", "102.4uS"};
    return names;
}

} // namespace vorna
