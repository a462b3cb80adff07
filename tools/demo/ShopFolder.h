#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace corvale {

class Clock;
class ProgramFolder;
class Shop;

namespace db {
class Database;
}

// Makes the data folder of a program folder that has none, with every table
// at the latest layout, filled by `fill` (given the open database and the
// program folder's blank article photo). The tables are written beside the
// data folder and renamed into place once complete, so an interrupted run
// never leaves a half-filled shop behind. Throws db::Error, also when the
// program folder has a data folder already (which is left alone).
using ShopFill = std::function<void(db::Database &, const QByteArray &photo)>;
void makeDataFolder(const ProgramFolder &folder, const ShopFill &fill);

// The same through a whole shop (its clock, routines and windows' logic), for
// a shop made document by document: `fill` gets the shop open on the new data
// folder and the clock it may move. A question or message that any of that
// logic puts to the user stops the making with its text (db::Error).
using ShopWork = std::function<void(Shop &, Clock &)>;
void makeShopFolder(const ProgramFolder &folder, const ShopWork &fill);

} // namespace corvale
