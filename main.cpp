#include "Form1.h"
#include "QtPlatform.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QtPlatform platform;
    Form1 form(platform);
    platform.setMainWindow(&form);
    form.Form_Load();
    form.move(form.screen()->availableGeometry().center() - form.rect().center());
    form.show();
    return app.exec();
}
