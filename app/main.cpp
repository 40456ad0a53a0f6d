// morvane: the desktop window for converting prox card data.
#include <QApplication>

#include "app/frm_morvane.h"
#include "app/message_boxes.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Morvane"));
    QApplication::setApplicationVersion(QStringLiteral(MORVANE_VERSION));
    morvane::QtMessageBoxes messages;
    morvane::frmMorvane window(messages);
    window.show();
    return QApplication::exec();
}
