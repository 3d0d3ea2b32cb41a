#include "LowerCaseSearch.h"

bool LowerCaseSearch::foundIn(QStringView text) {
    lowered_.resize(text.size());
    char16_t* out = reinterpret_cast<char16_t*>(lowered_.data());
    const char16_t* in = text.utf16();
    char16_t seen = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = in[i];
        seen |= c;
        out[i] = c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
    }
    // Beyond ASCII the full mapping is needed; it leaves the letters lowered above as they are.
    if (seen >= 0x80)
        lowered_ = std::move(lowered_).toLower();
    return QStringView(lowered_).contains(searched_);
}
