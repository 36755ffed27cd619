#include "analysis/ReportCaptions.h"

#include "analysis/ElementLibrary.h"
#include "common/NumberText.h"
#include "spectrum/CSpectrum.h"

namespace vorna {

ReportCaptions MakeReportCaptions(const std::string& title, const CSpectrum& spectrum,
                                  const ElementLibrary* library) {
    ReportCaptions captions;
    captions.title = title;
    {
        auto s = spectrum.Lock();
        captions.spectrumLine =
            Format("%s  %s", s->m_strFileName.c_str(), s->m_szStartTime.c_str());
    }
    if (library && library->IsLoaded())
        captions.libraryLine = library->DisplayName();
    return captions;
}

} // namespace vorna
