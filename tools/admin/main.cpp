#include "AdminTool.h"

#include <QCoreApplication>
#include <QLocale>

#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    corvale::AdminTool tool(stdout, stderr, QCoreApplication::applicationDirPath());
    return tool.run(arguments);
}
