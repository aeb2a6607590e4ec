#include "app/browser_page.h"
#include "app/fonts.h"
#include "app/form1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("function-lesson"));
    Fonts::install();
    Form1 form;
    // A web page has no desktop to put a window on: the window is the page.
    if (BrowserPage::isBrowser)
        form.windowZoom.fitToPage();
    else
        form.show();
    return app.exec();
}
