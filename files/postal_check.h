#pragma once

#include "files/postal_code_table.h"

#include <QString>
#include <QStringView>

// Checking the postal code of one entry against its first address line.

enum class PostalCheckResult {
    Ok,             // the code is known and one of its entries' municipality starts 住所1
    NoCode,         // 〒 is empty
    UnknownCode,    // 〒 is not a seven-digit code, or not one the data holds
    EmptyAddress,   // the code is known but 住所1 is empty
    Mismatch,       // the code is known but none of its municipalities starts 住所1
};

// Checked in the order NoCode, UnknownCode, EmptyAddress, Mismatch: the
// code first, as a wrong code makes the address comparison meaningless.
// 住所1 may leave out the prefecture, and the county (郡) before a town or
// village, as addresses are commonly written.
PostalCheckResult CheckPostalEntry(const PostalCodeTable &table, QStringView yubin, QStringView ju1);

// A short Japanese sentence for the result window.
QString PostalCheckDescription(PostalCheckResult result);

// An address cut into prefecture and municipality (市区町村):
//   東京都千代田区千代田      → 東京都 | 千代田区
//   北海道札幌市北区北十条西  → 北海道 | 札幌市北区 (designated city and ward)
//   長野県北佐久郡軽井沢町…  → 長野県 | 北佐久郡軽井沢町 (county 北佐久郡)
// The parts are views into the address. An address without one of the 47
// prefectures at its start is taken to start with the municipality.
struct AddressParts {
    QStringView prefecture;
    QStringView county;         // the 郡 at the start of municipality, or empty
    QStringView municipality;   // county included; empty when none is recognised
};

// municipalityLength, when above 0, is where the source said prefecture and
// municipality end (KEN_ALL.CSV).
AddressParts SplitAddress(QStringView address, int municipalityLength = 0);
