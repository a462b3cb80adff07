#include "DbfTool.h"

#include <QCoreApplication>
#include <QString>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char **argv) {
    // The arguments as the system gives them (UTF-16 on Windows, whatever the code page).
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
#ifdef Q_OS_WIN
    // The CSV and the dumps carry their own CR LF: Windows' text mode would add a CR.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    DbfTool tool(stdout, stderr, stdin);
    return tool.run(arguments);
}
