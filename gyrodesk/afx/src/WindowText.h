// WM_GETTEXT's answer, for windows and controls alike.
#pragma once

#include <algorithm>
#include <cstring>

#include <QByteArray>
#include <QString>

#include <afx/Types.h>

namespace afx::detail {

// Copies text as UTF-8 into the buffer of lParam, whose size (the terminating zero included)
// is wParam, cutting it to fit; returns the bytes copied, the zero not counted.
inline LRESULT CopyWindowText(const QString& text, WPARAM wParam, LPARAM lParam) {
    if (wParam == 0) return 0;
    const QByteArray utf8 = text.toUtf8();
    const size_t n = std::min<size_t>(utf8.size(), wParam - 1);
    std::memcpy(reinterpret_cast<char*>(lParam), utf8.constData(), n);
    reinterpret_cast<char*>(lParam)[n] = '\0';
    return static_cast<LRESULT>(n);
}

}  // namespace afx::detail
