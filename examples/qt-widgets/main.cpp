// vyr-qt-widgets: a Qt program built from a Designer form (mainwindow.ui, compiled by uic) whose
// Vyr controls are bound to the Qt command server. The commands come from a description in
// the program's resources (commands.json).
//   vyr-qt-widgets            shows the window
//   vyr-qt-widgets --check    types a value into the value editor and sets one through the
//                             server, checks that each arrives, prints "ok ..." lines, exits
//   vyr-qt-widgets --png FILE also saves a picture of the window
#include "mainwindow.h"
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <cstdio>

namespace {

int fail(const char* what)
{
    std::fprintf(stderr, "vyr-qt-widgets: %s\n", what);
    return 1;
}

// Keys as the user types them, into the widget that has the focus.
void type(QWidget* into, const QString& text, Qt::Key end)
{
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(into, &press);
        QApplication::sendEvent(into, &release);
    }
    QKeyEvent press(QEvent::KeyPress, end, Qt::NoModifier);
    QApplication::sendEvent(into, &press);
}

int check(MainWindow& window, vyr::CommandServer& server)
{
    // A value typed into the value editor reaches the program as the server's signal.
    double received = -1;
    QObject::connect(&server, &vyr::CommandServer::valueChanged, [&](const QString& command, double value) {
        if (command == QLatin1String("Gain"))
            received = value;
    });
    auto* field = window.ui.gainEdit->findChild<QLineEdit*>();
    if (!field)
        return fail("the value editor has no text field");
    field->setFocus();
    field->selectAll();
    type(field, QStringLiteral("4.5"), Qt::Key_Return);
    if (received != 4.5)
        return fail("the typed value did not arrive as valueChanged");
    std::printf("ok typed 4.5 arrived as valueChanged(Gain, 4.5)\n");

    // A value the program sets moves the slider: its value field shows it.
    server.setValue(QStringLiteral("Gain"), 7.25);
    auto* shown = window.ui.gain->findChild<QLineEdit*>();
    if (!shown || shown->text().toDouble() != 7.25)
        return fail(qPrintable(QStringLiteral("the slider shows %1, not 7.25").arg(shown ? shown->text() : "nothing")));
    std::printf("ok the server's 7.25 moved the slider\n");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    auto server = vyr::CommandServer::create();
    QString error;
    if (!server->loadDescriptionFile(QStringLiteral(":/commands.json"), &error))
        return fail(qPrintable(error));
    MainWindow window(server.get());
    window.show();
    int result = 0;
    if (args.contains(QStringLiteral("--check")))
        result = check(window, *server);
    if (const qsizetype png = args.indexOf(QStringLiteral("--png")); png >= 0 && png + 1 < args.size())
        if (!window.grab().save(args[png + 1]))
            return fail("cannot save the picture");
    if (args.contains(QStringLiteral("--check")) || args.contains(QStringLiteral("--png")))
        return result;
    return app.exec();
}
