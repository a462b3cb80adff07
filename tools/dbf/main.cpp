#include "DbfTool.h"

#include <QString>

int main(int argc, char **argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    DbfTool tool(stdout, stderr, stdin);
    return tool.run(arguments);
}
