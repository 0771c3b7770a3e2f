// CString: the console's text type, a byte string that converts to const char*.
#pragma once

#include <string>

#include <afx/Types.h>

class CString {
public:
    CString() = default;
    CString(const char* text) : m_text(text ? text : "") {}
    CString(const std::string& text) : m_text(text) {}

    // Replaces the text with string resource id; FALSE (and an empty text) when there is none.
    BOOL LoadString(UINT id);

    BOOL IsEmpty() const { return m_text.empty(); }
    int GetLength() const { return static_cast<int>(m_text.size()); }
    void Empty() { m_text.clear(); }

    operator const char*() const { return m_text.c_str(); }
    const std::string& str() const { return m_text; }

    CString& operator=(const char* text) {
        m_text = text ? text : "";
        return *this;
    }
    CString& operator+=(const char* text) {
        m_text += text ? text : "";
        return *this;
    }
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char* b) { return a.m_text == (b ? b : ""); }

private:
    std::string m_text;
};
