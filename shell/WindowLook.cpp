#include "WindowLook.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

namespace {
QPalette lightPalette() {
    // Black text, white fields and the shades of the face for bevels.
    const QColor face(0xf0, 0xf0, 0xf0);
    QPalette palette(face, QColor(Qt::white));
    // The roles that constructor leaves to whatever palette the window sits in.
    palette.setColor(QPalette::Highlight, QColor(0x00, 0x78, 0xd7));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(0x00, 0x66, 0xcc));
    palette.setColor(QPalette::LinkVisited, QColor(0x80, 0x00, 0x80));
    palette.setColor(QPalette::PlaceholderText, QColor(0x76, 0x76, 0x76));
    // Greyed, yet still readable (the limit box is disabled most of the time).
    const QColor greyed(0x6d, 0x6d, 0x6d);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, greyed);
    palette.setColor(QPalette::Disabled, QPalette::Base, face);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x91, 0x91, 0x91));
    // Marked as set, so that no role is taken from the desktop's palette.
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (int role = 0; role < QPalette::NColorRoles; ++role)
            if (role != QPalette::NoRole)
                palette.setBrush(group, QPalette::ColorRole(role),
                                 palette.brush(group, QPalette::ColorRole(role)));
    return palette;
}

// Fusion draws with the palette it is given and is part of Qt, so it is always there.
QStyle* windowStyle() {
    static QStyle* const style = [] {
        QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"));
        fusion->setParent(qApp); // outlives every window
        return fusion;
    }();
    return style;
}
} // namespace

void ApplyWindowLook(QWidget* window) {
    // A widget's style does not pass to its children: each one is given it.
    window->setStyle(windowStyle());
    for (QWidget* control : window->findChildren<QWidget*>())
        control->setStyle(windowStyle());
    window->setPalette(lightPalette());
}
