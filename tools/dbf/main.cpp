#include "DbfTool.h"

#include <QString>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char **argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
#ifdef Q_OS_WIN
    // The CSV and the dumps carry their own CR LF: Windows' text mode would add a CR.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    DbfTool tool(stdout, stderr, stdin);
    return tool.run(arguments);
}
