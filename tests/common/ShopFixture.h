#pragma once

#include "db/Database.h"
#include "db/FileSystem.h"
#include "db/Table.h"
#include "platform/ScriptedPrompter.h"
#include "schema/DataFolderSchema.h"
#include "shell/Shop.h"

#include <QTemporaryDir>

#include <memory>

// A shop over a fresh program folder, with every table and a fixed date.
struct ShopFixture {
    QTemporaryDir dir;
    corvale::Clock clock{QDate(2026, 3, 15)};
    corvale::ScriptedPrompter prompter;
    std::unique_ptr<corvale::Shop> shop;

    // `files`: where the engine reads and writes (a fault-planting one in tests
    // of failing saves).
    explicit ShopFixture(corvale::db::FileSystem &files = corvale::db::FileSystem::local()) {
        corvale::ProgramFolder folder(dir.path());
        folder.prepare();
        shop = std::make_unique<corvale::Shop>(folder, clock, prompter, files);
        shop->setTableLayouts(corvale::allTableLayouts());
        shop->openDatabase();
    }

    corvale::db::Database &db() { return shop->database(); }

    // Appends one record with the given field values.
    void add(const QString &table, const QVariantMap &values) {
        corvale::db::Table t(db());
        t.setTableName(table);
        t.open();
        t.append();
        for (auto it = values.begin(); it != values.end(); ++it)
            t.setValue(it.key(), it.value());
        t.post();
    }
    // Sets the shop's own data (its one CONFIG record, made when missing).
    void setConfig(const QVariantMap &values) {
        corvale::db::Table t(db());
        t.setTableName(QStringLiteral("CONFIG"));
        t.open();
        t.first();
        if (t.eof())
            t.append();
        else
            t.edit();
        for (auto it = values.begin(); it != values.end(); ++it)
            t.setValue(it.key(), it.value());
        t.post();
    }
    // The values of `field` over the table in record order.
    QStringList column(const QString &table, const QString &field) {
        corvale::db::Table t(db());
        t.setTableName(table);
        t.open();
        QStringList out;
        for (t.first(); !t.eof(); t.next())
            out << t.asString(field);
        return out;
    }
    qint64 counter(const QString &name) {
        corvale::db::Table t(db());
        t.setTableName(QStringLiteral("COUNTERS"));
        t.open();
        t.first();
        return t.asInteger(name);
    }
};
