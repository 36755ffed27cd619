#pragma once
// The system clipboard for the core's text copies (plain 8-bit text).

#include <QClipboard>
#include <QGuiApplication>

#include "analysis/Reports.h"

namespace vorna {

class QtTextClipboard : public TextClipboard {
public:
    bool Open() override { return QGuiApplication::clipboard() != nullptr; }
    bool Empty() override {
        QGuiApplication::clipboard()->clear();
        return true;
    }
    bool SetText(const std::string& text) override {
        QGuiApplication::clipboard()->setText(
            QString::fromLatin1(text.data(), static_cast<int>(text.size())));
        return true;
    }
    void Close() override {}
};

} // namespace vorna
