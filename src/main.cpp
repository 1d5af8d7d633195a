#include "app/frmDXS.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("DXS-4820 Function Generator RS232 Interface Software");
    QApplication::setApplicationVersion(DXS_VERSION);
    frmDXS window;
    window.show();
    return app.exec();
}
