#include "ShownText.h"

#include "AddressStore.h"

namespace {
constexpr char16_t kEllipsis = u'\u2026';

QString cut(QLatin1StringView text, qsizetype chars) {
    return text.first(chars).toString() + kEllipsis;
}

QString cut(QStringView text, qsizetype chars) {
    if (text[chars - 1].isHighSurrogate() && text[chars].isLowSurrogate())
        --chars;
    return text.first(chars).toString() + kEllipsis;
}
} // namespace

QString ShownStart(QAnyStringView text, qsizetype chars) {
    chars = qMax<qsizetype>(chars, 1);
    return VisitText(text, [chars](auto view) {
        return view.size() <= chars ? view.toString() : cut(view, chars);
    });
}
