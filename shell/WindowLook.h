#pragma once

class QWidget;

// Gives the window and every control on it one known style and the window's
// own light colours: white window and fields, a light grey button face, black
// text. Desktop styles draw with colours of their own (a dark one draws dark
// button faces whatever the palette says), so neither alone keeps every text
// readable. Message boxes and dialogs keep the desktop's look.
void ApplyWindowLook(QWidget* window);
