#pragma once

#include "printing/PrintJob.h"

#include <QList>
#include <QPair>
#include <QString>

#include <memory>

class QTableView;

namespace corvale {

class Shop;

namespace db {
class Database;
class Table;
} // namespace db

// Small pieces the stock report windows share.
namespace StockWindowKit {

// How a list column stands out: the code in bold on light grey, loads on
// light red, sales on light green, stock on light yellow, the margin on blue.
enum class Look { Code, Red, Green, Yellow, Blue, ZeroAsButton };
void paintColumns(QTableView &view, const QList<QPair<int, Look>> &looks);

// Titles drawn on a colour of their own: white on red, green or blue, black on yellow.
void paintTitles(QTableView &view, const QList<QPair<int, Look>> &looks);

// A list of names (suppliers, brands, categories) in name order, not yet open.
std::unique_ptr<db::Table> nameList(db::Database &database, const QString &table);

// Sends `document` to the print service; a failure (not a cancel) is shown.
void print(Shop &shop, const QString &title, const PrintDocument &document);

} // namespace StockWindowKit

} // namespace corvale
