// Folianto: the desktop program.

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMessageBox::information(nullptr, QStringLiteral("Folianto"),
                             QStringLiteral("Das Hauptfenster folgt; bis dahin steht folianto-cli zur Verfügung."));
    return 0;
}
