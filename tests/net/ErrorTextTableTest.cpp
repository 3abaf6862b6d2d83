#include "net/ErrorTextTable.h"
#include "net/ErrorTextIndex.h"
#include "net/HttpClient.h"

#include "platform/system/LastError.h"
#include "platform/text/Cp1251.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using net::ErrorTextTable;
using platform::text::w;

namespace {

// The codes the table must hold, exactly.
std::set<int> listedCodes()
{
    const std::string list =
        "0-34, 36, 38-39, 50-72, 80, 82-89, 100-114, 117-162, 164, 167, 170, 173-174, 180, "
        "182-183, 186-203, 205-210, 212, 214-216, 230-234, 240, 254-255, 259, 266-267, 275-278, "
        "282, 288, 298-301, 317, 487, 534-536, 994-999, 1001-1022, 1051-1082, 1100-1132, "
        "1140-1142, 1150-1173, 1200-1251, 1300-1338, 1340-1395, 1400-1461, 1500-1503, 1601-1616, "
        "1700-1728, 1730, 1732-1737, 1739-1775, 1777-1832, 1898-1938, 2000-2005, 2108, 2202, "
        "2250, 2300-2310, 2401-2402, 2404, 3000-3011, 4000-4006, 4100, 4200-4211, 4300-4320, "
        "4350-4352, 4390-4391, 5001-5033, 6000-6006, 6118, 12001-12034, 12036-12050, "
        "12052-12053, 12110-12112, 12150-12170";
    std::set<int> codes;
    std::stringstream in(list);
    std::string part;
    while (std::getline(in, part, ',')) {
        const std::size_t dash = part.find('-');
        const int from = std::stoi(part.substr(0, dash));
        const int to = dash == std::string::npos ? from : std::stoi(part.substr(dash + 1));
        for (int code = from; code <= to; ++code)
            codes.insert(code);
    }
    return codes;
}

std::vector<int> codesInTableOrder()
{
    const ErrorTextTable& table = ErrorTextTable::instance();
    std::vector<int> codes;
    for (std::size_t row = 1; row <= table.number(); ++row)
        codes.push_back(table.codeField(2 * row + 1));
    return codes;
}

std::string textOf(int code)
{
    const ErrorTextTable& table = ErrorTextTable::instance();
    for (std::size_t row = 1; row <= table.number(); ++row)
        if (table.codeField(2 * row + 1) == code)
            return std::string(table.textField(2 * row));
    return "(none)";
}

// The text the client composes for a code, without prefix.
std::string capturedText(int code)
{
    net::HttpClient client;
    client.Init();
    platform::system::SetLastError(static_cast<std::uint32_t>(code));
    client.CaptureError("", true);
    platform::system::SetLastError(0);
    std::string text = client.ErrorText();
    client.Kill();
    return text;
}

TEST(ErrorTextTableTest, HoldsExactlyTheListedCodesInTableOrder)
{
    const ErrorTextTable& table = ErrorTextTable::instance();
    EXPECT_EQ(table.number(), 909);
    EXPECT_EQ(table.fieldCount(), 1u + 2u * 909u);
    const std::vector<int> codes = codesInTableOrder();
    EXPECT_EQ(std::set<int>(codes.begin(), codes.end()), listedCodes());
    EXPECT_EQ(std::set<int>(codes.begin(), codes.end()).size(), codes.size());

    // The codes ascend except where the blocks join, and at 12168.
    std::vector<std::size_t> drops;
    for (std::size_t i = 1; i < codes.size(); ++i)
        if (codes[i] < codes[i - 1])
            drops.push_back(i + 1);
    EXPECT_EQ(drops, (std::vector<std::size_t>{320, 720, 900}));
    EXPECT_EQ(codes[318], 2404);
    EXPECT_EQ(codes[319], 1200);
    EXPECT_EQ(codes[718], 6118);
    EXPECT_EQ(codes[719], 2000);
    EXPECT_EQ(codes[834], 12001);
    EXPECT_EQ(codes[897], 12162);
    EXPECT_EQ(codes[898], 12168);
    EXPECT_EQ(codes[899], 12157);
}

TEST(ErrorTextTableTest, QuotedTexts)
{
    const std::vector<std::pair<int, std::string>> quoted = {
        {0, "OK"},
        {1, "Неверная функция"},
        {4, "Слишко много открытых файлов"},
        {5, "Доступ запрещён"},
        {16, "Текущий каталог"},
        {26, "Диск не DOS"},
        {33, "Нарушение блокировки"},
        {7, "ARENA TRASHED"},
        {23, "CRC"},
        {34, "WRONG DISK"},
        {87, "INVALID PARAMETER"},
        {122, "INSUFFICIENT BUFFER"},
        {183, "ALREADY EXISTS"},
        {194, "ITERATED DATA EXCEEDS 64k"},
        {206, "FILENAME EXCED RANGE"},
        {995, "OPERATION ABORTED"},
        {1223, "CANCELLED"},
        {1460, "TIMEOUT"},
        {1722, "SERVER UNAVAILABLE"},
        {1753, "NOT REGISTERED"},
        {3010, "SUCCESS REBOOT REQUIRED"},
        {6118, "NO BROWSER SERVERS FOUND"},
        {1910, "ALID OXID"},
        {1911, "ALID OID"},
        {1912, "ALID SET"},
        {1922, "DS MEMBERSHIP EVALUATED LOCALLY"},
        {1927, "DS BUSY"},
        {1938, "DS GC NOT AVAILABLE"},
        {1601, "INSTALL SERVICE"},
        {1613, "BAD DATABASE VERSION"},
        {12001, "OUT OF HANDLES"},
        {12002, "TIMEOUT"},
        {12007, "NAME NOT RESOLVED"},
        {12029, "CANNOT CONNECT"},
        {12030, "CONNECTION ABORTED"},
        {12031, "CONNECTION RESET"},
        {12111, "DROPPED"},
        {12150, "HEADER NOT FOUND"},
        {12152, "INVALID SERVER RESPONSE"},
        {12157, "SECURITY CHANNEL ERROR"},
        {12165, "PROXY SERVER UNREACHABLE"},
        {12168, "REDIRECT NEEDS CONFIRMATION"},
        {12170, "SEC CERT REVOKED"},
    };
    for (const auto& [code, text] : quoted)
        EXPECT_EQ(textOf(code), w(text)) << code;

    std::size_t longest = 0;
    for (const int code : codesInTableOrder())
        longest = std::max(longest, textOf(code).size());
    EXPECT_EQ(longest, 34u);
}

TEST(ErrorTextTableTest, TheClientLooksCodesUpThroughTheIndex)
{
    EXPECT_EQ(capturedText(12029), "CANNOT CONNECT ");
    EXPECT_EQ(capturedText(5), w("Доступ запрещён") + " ");
    EXPECT_EQ(capturedText(12168), "REDIRECT NEEDS CONFIRMATION ");
    EXPECT_EQ(capturedText(12157), "SECURITY CHANNEL ERROR ");
    EXPECT_EQ(capturedText(35), "35 ");
    EXPECT_EQ(capturedText(37), "37 ");
    EXPECT_EQ(capturedText(99999), "99999 ");
    EXPECT_EQ(capturedText(0), " "); // 0 is not looked up: a single blank
}

TEST(ErrorTextTableTest, PrefixesOnlyARealError)
{
    net::HttpClient client;
    client.Init();
    platform::system::SetLastError(12002);
    client.CaptureError(w("Чтение данных"), false);
    EXPECT_EQ(client.errorCode(), 12002);
    EXPECT_EQ(client.apiError(), "TIMEOUT");
    EXPECT_EQ(client.ErrorText(), w("Чтение данных") + " TIMEOUT ");
    platform::system::SetLastError(0);
    client.CaptureError(w("Чтение данных"), false);
    EXPECT_EQ(client.errorCode(), 0);
    EXPECT_EQ(client.ErrorText(), " ");
    client.Kill();
}

TEST(ErrorTextTableTest, TheIndexIsBuiltOnceAndReleasedAtExit)
{
    net::HttpClient first;
    first.Init();
    net::HttpClient second;
    second.Init();
    auto& index = net::errorTextIndex();
    EXPECT_EQ(index.records(), 909u);
    for (std::size_t i = 2; i <= index.records(); ++i)
        EXPECT_LT(index.at(i - 1).code, index.at(i).code);

    net::ErrorTextTableInit(1);
    EXPECT_EQ(index.records(), 0u);
    net::ErrorTextTableInit(0);
    second.Init();
    EXPECT_EQ(index.records(), 909u);
    first.Kill();
    second.Kill();
}

TEST(ErrorTextTableTest, FieldsOutsideTheRecordAreNotRead)
{
    const ErrorTextTable& table = ErrorTextTable::instance();
    EXPECT_FALSE(table.hasField(0));
    EXPECT_FALSE(table.hasField(1820));
    EXPECT_TRUE(table.hasField(1819));
    EXPECT_EQ(table.codeField(1820), 0);
    EXPECT_EQ(table.textField(3), "");
    EXPECT_EQ(table.codeField(3), 0);
    EXPECT_EQ(table.textField(2), "OK");
}

} // namespace
