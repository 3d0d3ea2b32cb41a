#include "LowerCaseSearch.h"

#include "AddressStore.h"

template <class View> bool LowerCaseSearch::lowerAndFind(View text) {
    lowered_.resize(text.size());
    char16_t* out = reinterpret_cast<char16_t*>(lowered_.data());
    char16_t seen = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        seen |= c;
        out[i] = c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
    }
    // Beyond ASCII the full mapping is needed; it leaves the letters lowered above as they are.
    if (seen >= 0x80)
        lowered_ = std::move(lowered_).toLower();
    return QStringView(lowered_).contains(searched_);
}

bool LowerCaseSearch::foundIn(QAnyStringView text) {
    return VisitText(text, [this](auto view) { return lowerAndFind(view); });
}
