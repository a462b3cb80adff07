#pragma once

// A telematic register simulator served on a local port at a fixed time, and
// the shop's Dati.ini pointed at it, for the tests of what the shop sends to
// its register.

#include "RtHttpServer.h"
#include "SimulatedCustomRt.h"
#include "SimulatedEpsonRt.h"
#include "SimulatedRchRt.h"
#include "common/ShopFixture.h"
#include "register/RegisterSettings.h"

#include <optional>
#include <type_traits>

namespace testing {

// The shop's register: the make, where it answers and how long to wait for
// it (generous by default, so that a loaded machine never times out). The
// articles of the test shop carry the old 20% rate, hence the departments.
inline void configureShopRegister(ShopFixture &f, int brand, const QString &address,
                                  int timeoutMs = 10000) {
    corvale::IniFile &ini = f.shop->ini();
    ini.writeInteger(QStringLiteral("REGCASSA"), QStringLiteral("MARCA"), brand);
    ini.writeString(QStringLiteral("REGCASSA"), QStringLiteral("INDIRIZZO"), address);
    ini.writeInteger(QStringLiteral("REGCASSA"), QStringLiteral("RTTIMEOUT"), timeoutMs);
    ini.writeString(QStringLiteral("REGCASSA"), QStringLiteral("REPARTI"),
                    QStringLiteral("20:1;22:1;10:2"));
}

// The make a simulator stands for, as the shop's settings name it.
template <typename Simulator> constexpr int rtBrandOf() {
    if constexpr (std::is_same_v<Simulator, corvale::sim::SimulatedCustomRt>)
        return corvale::RegisterSettings::customRtBrand;
    else if constexpr (std::is_same_v<Simulator, corvale::sim::SimulatedRchRt>)
        return corvale::RegisterSettings::rchRtBrand;
    else
        return corvale::RegisterSettings::epsonRtBrand;
}

// Half past ten on the day of `ShopFixture`.
inline const QDateTime shopRtTime(QDate(2026, 3, 15), QTime(10, 30));

// The register open since `hoursOpen` hours before `at` (its last closure),
// in closure `closure` where one is given.
template <typename Simulator, typename Server = corvale::sim::RtHttpServer> struct ShopRt {
    Simulator rt;
    Server server{rt};

    explicit ShopRt(const QDateTime &at = shopRtTime, std::optional<int> closure = 12,
                    int hoursOpen = 1) {
        rt.setClock([at] { return at; });
        rt.setLastClosure(at.addSecs(-3600 * hoursOpen));
        if (closure)
            rt.setClosure(*closure);
        server.listen();
    }
    // A server that takes more than the simulator.
    template <typename... ServerArgs>
    ShopRt(const QDateTime &at, std::optional<int> closure, int hoursOpen,
           ServerArgs &&...serverArgs)
        : server(rt, std::forward<ServerArgs>(serverArgs)...) {
        rt.setClock([at] { return at; });
        rt.setLastClosure(at.addSecs(-3600 * hoursOpen));
        if (closure)
            rt.setClosure(*closure);
        server.listen();
    }
    void configure(ShopFixture &f, int timeoutMs = 10000) {
        configureShopRegister(f, rtBrandOf<Simulator>(), server.address(), timeoutMs);
    }
};

} // namespace testing
