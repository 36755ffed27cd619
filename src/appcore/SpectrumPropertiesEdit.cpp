#include "appcore/SpectrumPropertiesEdit.h"

#include "analysis/ExpressionDefine.h"
#include "common/UserPrompt.h"
#include "spectrum/CSpectraList.h"
#include "spectrum/SpectrumReader.h"

namespace vorna {

std::string GainChoiceText(int gainCode) {
    return std::to_string(CSpectrum::ChannelsForGain(gainCode));
}

SpectrumPropertiesEdit::SpectrumPropertiesEdit(CSpectraList& list)
    : m_list(list), m_role(SpectrumDlgRole::DefineExpression),
      m_new(std::make_unique<CSpectrum>(list.Environment().slots, list.GetCount())),
      m_target(m_new.get()) {
    m_new->m_bDerived = 1;
    m_header = m_new->Header();
}

SpectrumPropertiesEdit::SpectrumPropertiesEdit(CSpectraList& list, CSpectrum& target)
    : m_list(list), m_target(&target) {
    auto s = target.Lock();
    m_header = s->Header();
    m_role = s->m_bDerived ? SpectrumDlgRole::ModifyExpression : SpectrumDlgRole::ModifyProperties;
}

SpectrumPropertiesEdit::~SpectrumPropertiesEdit() = default;

const char* SpectrumPropertiesEdit::Title() const {
    switch (m_role) {
    case SpectrumDlgRole::DefineExpression:
        return "Define Expression";
    case SpectrumDlgRole::ModifyExpression:
        return "Modify Expression";
    case SpectrumDlgRole::ModifyProperties:
        break;
    }
    return "Modify Spectrum Properties";
}

bool SpectrumPropertiesEdit::TargetStillOpen() const {
    return m_new || m_list.Find(m_target) >= 0;
}

bool SpectrumPropertiesEdit::ContourDiffers() const {
    auto s = m_target->Lock();
    return s->m_nLineWidth != m_header.m_nLineWidth || s->m_crColor != m_header.m_crColor;
}

SpectrumPropertiesEdit::OkResult SpectrumPropertiesEdit::Ok() {
    // The program's command interface may have closed the spectrum while the dialog was open.
    if (!TargetStillOpen())
        return OkResult::Closed;
    SpectrumEnvironment& env = m_list.Environment();
    if (!IsValidSpectrumTag(m_header.m_strTag)) {
        if (env.prompt)
            env.prompt->message(kInvalidTagMessage, PromptStyle::Error);
        return OkResult::KeepOpen;
    }
    const bool isNew = m_new != nullptr;
    bool recompile = isNew;
    if (!isNew) {
        auto s = m_target->Lock();
        recompile = s->m_bDerived && s->m_strExpression != m_header.m_strExpression;
    }
    // A refused expression has shown its message and left the old program in force.
    if (recompile && !SetExpression(m_list, *m_target, m_header.m_strExpression))
        return OkResult::KeepOpen;
    const bool contourChanged = isNew || ContourDiffers();
    CopyHeaderIntoTarget();
    if (isNew)
        FinishNew();
    else
        FinishExisting(contourChanged);
    if (!m_result)
        return OkResult::Closed;
    if (recompile)
        m_result->RequestEvaluation(env);
    else if (contourChanged && env.display)
        env.display->RedrawPlot();
    return OkResult::Closed;
}

void SpectrumPropertiesEdit::Cancel() {
    m_new.reset();
    m_result = nullptr;
}

void SpectrumPropertiesEdit::CopyHeaderIntoTarget() {
    auto s = m_target->Lock();
    // An open spectrum keeps its channel count and kind whatever happened to it while the
    // dialog was open: its buffer and program were made for them.
    const int32_t gain = s->m_nGain;
    const int32_t derived = s->m_bDerived;
    s->Header() = m_header;
    if (!m_new) {
        s->m_nGain = gain;
        s->m_bDerived = derived;
    }
}

void SpectrumPropertiesEdit::FinishNew() {
    // The list makes the tag unique and the pen; a full list refuses with its message, and the
    // spectrum then goes with its links to the operands.
    m_result = m_list.Add(m_new, false);
    m_new.reset();
}

void SpectrumPropertiesEdit::FinishExisting(bool contourChanged) {
    if (contourChanged)
        m_target->RemakePen();
    SpectrumEnvironment& env = m_list.Environment();
    if (m_list.GetActive() == m_target && env.display)
        env.display->SpectrumActivated(*m_target); // file name and description in the title
    m_result = m_target;
}

} // namespace vorna
