#include "app/browser_page.h"
#include "app/form1.h"
#include "surface/fonts.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("function-lesson"));
    // Where a pupil's practice is kept: ~/.config/function-lesson/function-lesson.conf.
    QApplication::setOrganizationName(QStringLiteral("function-lesson"));
    Fonts::install();
    BrowserPage::prepare();

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("関数の利用: the area y of a figure pulled out of an envelope as a function of x"));
    options.addHelpOption();
    const QCommandLineOption site(QStringLiteral("site"),
                                  QStringLiteral("Where the lesson is published for web browsers; 「QRコードで配る」 then shows "
                                                 "a code that opens the figure composed here on the pupils' devices."),
                                  QStringLiteral("address"));
    options.addOption(site);
    options.process(app);

    Form1 form;
    form.setSiteAddress(options.value(site));
    // A web page has no desktop to put a window on: the window is the page.
    if (BrowserPage::isBrowser)
        form.fillPage();
    else
        form.show();
    return app.exec();
}
