#pragma once

#include <QString>

namespace corvale {

// Column names of the price history, the sale campaigns and the season list.
namespace seasonSaleColumns {

// PREZZI: one record per change of an article's own price (list price less
// its discount), from the day it applies.
inline const QString history = QStringLiteral("PREZZI");
inline const QString historyArticle = QStringLiteral("ARTCODE");
inline const QString historyDay = QStringLiteral("DATA");
inline const QString historyList = QStringLiteral("LISTINO");
inline const QString historyDiscount = QStringLiteral("SCONTO");
inline const QString historyPrice = QStringLiteral("PREZZO");
inline const QString historyCause = QStringLiteral("CAUSA");
// The campaign whose start or end the record notes (0: the article's own
// price). Campaign records are an account of what was applied; the prices
// of campaign days are worked out from the campaigns themselves.
inline const QString historyCampaign = QStringLiteral("CAMPAGNA");
inline constexpr int causeLength = 40;

// SALDI: the campaigns; SALDIART: the articles of a campaign chosen one by one.
inline const QString campaigns = QStringLiteral("SALDI");
inline const QString campaignKey = QStringLiteral("NUMREG");
inline const QString campaignName = QStringLiteral("NOME");
inline const QString campaignFirst = QStringLiteral("DAL");
inline const QString campaignLast = QStringLiteral("AL");
inline const QString campaignKind = QStringLiteral("SELEZIONE");
inline const QString campaignValue = QStringLiteral("CHIAVE");
inline const QString campaignSeason = QStringLiteral("STAGIONE");
inline const QString campaignYear = QStringLiteral("ANNO");
inline const QString campaignPercent = QStringLiteral("PERC");
inline const QString campaignPrice = QStringLiteral("PREZZO");
inline constexpr int campaignNameLength = 40;
inline const QString campaignArticles = QStringLiteral("SALDIART");
inline const QString campaignArticle = QStringLiteral("ARTCODE");

// STAGIONI: the season names offered for ARTICOLI.STAGIONE.
inline const QString seasons = QStringLiteral("STAGIONI");
inline const QString seasonName = QStringLiteral("NOME");
inline constexpr int seasonNameLength = 18;

} // namespace seasonSaleColumns

} // namespace corvale
