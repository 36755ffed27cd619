#include "analysis/SmoothCommand.h"

#include <memory>
#include <mutex>
#include <string>

#include "analysis/ExpressionDefine.h"
#include "common/NumberText.h"
#include "spectrum/AnalysisSettings.h"
#include "spectrum/CSpectraList.h"

namespace vorna {
namespace {

// A file name split as the Windows runtime splits paths: drive, directory (with its trailing
// separator), name and extension (from the last dot of the last component).
struct PathParts {
    std::string drive, directory, name, extension;
};

PathParts splitPath(const std::string& path) {
    PathParts p;
    std::string rest = path;
    if (rest.size() >= 2 && rest[1] == ':') {
        p.drive = rest.substr(0, 2);
        rest.erase(0, 2);
    }
    auto slash = rest.find_last_of("/\\");
    if (slash != std::string::npos) {
        p.directory = rest.substr(0, slash + 1);
        rest.erase(0, slash + 1);
    }
    auto dot = rest.find_last_of('.');
    if (dot != std::string::npos) {
        p.extension = rest.substr(dot);
        rest.erase(dot);
    }
    p.name = rest;
    return p;
}

} // namespace

CSpectrum* SmoothActiveSpectrum(CSpectraList& list, const AnalysisSettings& settings) {
    CSpectrum* source = list.GetActive();
    if (!source)
        return nullptr;
    SpectrumEnvironment& env = list.Environment();
    const std::string kernel = settings.smoothKind == 1 ? "SM5" : "SM3";

    if (source->m_bDerived) {
        if (!SetExpression(list, *source, kernel + "(" + source->m_strExpression + ")"))
            return nullptr;
        source->RequestEvaluation(env);
        return source;
    }

    auto smoothed = std::make_unique<CSpectrum>(env.slots, list.GetCount());
    if (!SetExpression(list, *smoothed, kernel + "(" + source->m_strTag + ")"))
        return nullptr;
    smoothed->m_strTag = kernel + "_" + source->m_strTag;
    PathParts parts = splitPath(source->m_strFileName);
    smoothed->m_strFileName = Format("%s%s%s_%s%s", parts.drive.c_str(), parts.directory.c_str(),
                                     parts.name.c_str(), kernel.c_str(), parts.extension.c_str());
    smoothed->m_bDerived = 1;
    smoothed->m_nGain = source->m_nGain;
    smoothed->m_calibrate = source->m_calibrate;
    smoothed->m_roi = source->m_roi;
    smoothed->m_nLiveMode = source->m_nLiveMode;
    smoothed->m_dLiveTime = source->m_dLiveTime;
    smoothed->m_dRealTime = source->m_dRealTime;
    smoothed->m_nPresetTime = source->m_nPresetTime;
    smoothed->m_nChannels = source->m_nChannels;
    smoothed->m_szStartTime = source->m_szStartTime;

    const int wasHidden = source->ExchangeHidden(1);
    CSpectrum* added = list.Add(smoothed, true);
    if (!added) {
        // The list refused it (full): show the source again. The spectrum is deleted here and
        // takes its links with it.
        source->ExchangeHidden(wasHidden);
    }
    return added;
}

} // namespace vorna
