#include "app/fonts.h"
#include "app/form1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("function-lesson"));
    Fonts::install();
    Form1 form;
    form.show();
    return app.exec();
}
