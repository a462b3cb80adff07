#pragma once

#include <QStringList>

#include <cstdio>

// The commands of corvale-dbf. Each returns the exit status; errors go to `err` in Italian.
class DbfTool {
public:
    DbfTool(FILE *out, FILE *err, FILE *in);
    int run(const QStringList &arguments);

private:
    int info(const QStringList &args);
    int dump(const QStringList &args);
    int create(const QStringList &args);
    int append(const QStringList &args);
    int check(const QStringList &args);
    int reindex(const QStringList &args);
    int pack(const QStringList &args);
    int sql(const QStringList &args);
    int usage();

    void print(const QString &text);
    void write(const QByteArray &bytes);

    FILE *m_out;
    FILE *m_err;
    FILE *m_in;
};
