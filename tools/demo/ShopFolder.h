#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace corvale {

class ProgramFolder;

namespace db {
class Database;
}

// Makes the data folder of a program folder that has none, with every table
// at the latest layout, filled by `fill` (given the open database and the
// program folder's blank article photo). The tables are written beside the
// data folder and renamed into place once complete, so an interrupted run
// never leaves a half-filled shop behind. Throws db::Error.
using ShopFill = std::function<void(db::Database &, const QByteArray &photo)>;
void makeDataFolder(const ProgramFolder &folder, const ShopFill &fill);

} // namespace corvale
