#include "app/dictionary/Dictionary.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/LogicalThread.h"
#include "platform/text/Cp1251.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace app;
using platform::storage::Error::DuplicateKey;
using platform::text::w;

namespace {

class DictionaryTest : public ::testing::Test
{
protected:
    void SetUp() override { DictionaryInit(); }
    void TearDown() override { DictionaryKill(); }

    testsupport::TempWorkFolder m_folder;
};

std::vector<std::string> namesInKeyOrder(RecordFile& file, int key,
                                         std::string (*name)())
{
    std::vector<std::string> names;
    file.setKey(key);
    while (file.next() == 0)
        names.push_back(name());
    return names;
}

void addPrice(int32_t code, const std::string& oboz, const std::string& proizv)
{
    PRIOSN().clearBuffer();
    PR().KOD = code;
    PR().OBOZ = w(oboz);
    PR().PROIZV = w(proizv);
    ASSERT_EQ(PRIOSN().add(), 0);
}

} // namespace

TEST(DictionaryLayout, FieldTablesMatchTheRecords)
{
    const auto priosn = priosnLayout();
    EXPECT_EQ(priosn.recordSize, 427u);
    ASSERT_EQ(priosn.fields.size(), 11u);
    EXPECT_EQ(priosn.fields[0].name, "PR:KOD");
    EXPECT_EQ(priosn.fields[10].name, "PR:VES");
    EXPECT_EQ(priosn.fields[10].offset, 419u);
    ASSERT_EQ(priosn.keys.size(), 8u);
    EXPECT_EQ(priosn.keys[PR_poobozn].name, "PR:poobozn");
    EXPECT_EQ(priosn.keys[PR_pooboz].fields, priosn.keys[PR_poobozn].fields);
    EXPECT_TRUE(priosn.keys[PR_pokod].unique);
    for (const auto& key : priosn.keys) {
        EXPECT_TRUE(key.noCase && key.optional) << key.name;
        EXPECT_FALSE(key.primary) << key.name;
    }
    EXPECT_EQ(priosnNLayout().recordSize, 419u);
    EXPECT_EQ(priosnSLayout().fields[3].size, 50u);

    const auto korzak = korzakLayout();
    EXPECT_TRUE(korzak.keys[K_pokod].optional);
    EXPECT_FALSE(korzak.keys[K_poproizv].optional);
    EXPECT_FALSE(korzak.keys[K_ponaim].unique);

    EXPECT_TRUE(sprprLayout().keys[SP_ponaim].primary);
    EXPECT_EQ(sprmanLayout().keys[SPR_poname].fields.size(), 2u);
    EXPECT_EQ(rekvLayout().ownerPassword, "plomvikar");
    EXPECT_EQ(rekvSLayout().recordSize, 995u);
    EXPECT_TRUE(rekvDLayout().ownerPassword.empty());
    EXPECT_TRUE(rekvDLayout().keys.empty());
}

TEST_F(DictionaryTest, ManagersCarryTheSettingsAndKeyNames)
{
    ASSERT_NE(AccessPRIOSN, nullptr);
    EXPECT_EQ(AccessPRIOSN->fileNameValue, "priosn");
    EXPECT_EQ(AccessPRIOSN->openMode, 0x22);
    EXPECT_TRUE(AccessPRIOSN->create);
    EXPECT_EQ(AccessPRIOSN->lockRecover, 10);
    ASSERT_EQ(AccessKORZAK->keys().size(), 4u);
    EXPECT_EQ(AccessKORZAK->keys()[1].second, "K:ponaim");
    EXPECT_EQ(AccessREKV_D->fileNameValue, "rekv_d");
    EXPECT_EQ(RelatePROIZ->manager(), AccessPROIZ);
}

TEST(DictionaryLifecycle, KillClearsTheReferencesAndInitCreatesNoFile)
{
    testsupport::TempWorkFolder folder;
    DictionaryInit();
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    DictionaryKill();
    EXPECT_EQ(AccessPRIOSN, nullptr);
    EXPECT_EQ(RelateREKV_D, nullptr);
    DictionaryInit();
    EXPECT_NE(RelateREKV_D, nullptr);
    DictionaryKill();
}

TEST_F(DictionaryTest, FirstOpenCreatesTheFileEmpty)
{
    ASSERT_EQ(RelatePRIOSN->open(), 0);
    EXPECT_TRUE(std::filesystem::exists(m_folder.file("priosn.tps")));
    EXPECT_EQ(PRIOSN().records(), 0);
    RelatePRIOSN->close();
}

TEST_F(DictionaryTest, OptionalPriceKeysLeaveOutZeroCodesAndBlankNames)
{
    ASSERT_EQ(RelatePRIOSN->open(), 0);
    addPrice(0, "Б-1", "");
    addPrice(7, "а-2", "ЗАВОД");
    addPrice(3, "А-3", "");

    std::vector<int32_t> codes;
    PRIOSN().setKey(PR_pokod);
    while (PRIOSN().next() == 0)
        codes.push_back(PR().KOD);
    EXPECT_EQ(codes, (std::vector<int32_t>{3, 7}));

    EXPECT_EQ(namesInKeyOrder(PRIOSN(), PR_poproizv, [] { return PR().PROIZV.str(); }),
              std::vector<std::string>{w("ЗАВОД")});

    std::vector<int32_t> all;
    PRIOSN().setFileOrder();
    while (PRIOSN().next() == 0)
        all.push_back(PR().KOD);
    EXPECT_EQ(all, (std::vector<int32_t>{0, 7, 3}));

    const auto byOboz = namesInKeyOrder(PRIOSN(), PR_pooboz, [] { return PR().OBOZ.str(); });
    EXPECT_EQ(byOboz, (std::vector<std::string>{w("а-2"), w("А-3"), w("Б-1")}));
    EXPECT_EQ(namesInKeyOrder(PRIOSN(), PR_poobozn, [] { return PR().OBOZ.str(); }), byOboz);
    RelatePRIOSN->close();
}

TEST_F(DictionaryTest, BasketLineWithBlankManufacturerStaysInManufacturerOrder)
{
    ASSERT_EQ(RelateKORZAK->open(), 0);
    KORZAK().clearBuffer();
    K().KOD = 1;
    K().PROIZV = w("Завод");
    ASSERT_EQ(KORZAK().add(), 0);
    KORZAK().clearBuffer();
    K().KOD = 2;
    ASSERT_EQ(KORZAK().add(), 0);

    std::vector<int32_t> codes;
    KORZAK().setKey(K_poproizv);
    while (KORZAK().next() == 0)
        codes.push_back(K().KOD);
    EXPECT_EQ(codes, (std::vector<int32_t>{2, 1}));
    RelateKORZAK->close();
}

TEST_F(DictionaryTest, ManufacturerNamesAreUniqueWhateverTheirCase)
{
    ASSERT_EQ(RelatePROIZ->open(), 0);
    PROIZ().clearBuffer();
    P().NAIM = w("ёлка авто");
    ASSERT_EQ(PROIZ().add(), 0);
    PROIZ().clearBuffer();
    P().NAIM = w("ЁЛКА АВТО");
    EXPECT_EQ(PROIZ().add(), DuplicateKey);
    EXPECT_EQ(PROIZ().records(), 1);
    RelatePROIZ->close();
}

TEST_F(DictionaryTest, ManagersAreUniqueByNameAndAddressTogether)
{
    ASSERT_EQ(RelateSPRMAN->open(), 0);
    auto addManager = [](const char* name, const char* mail) {
        SPRMAN().clearBuffer();
        SPR().NAME = w(name);
        SPR().KMAIL = mail;
        return SPRMAN().add();
    };
    EXPECT_EQ(addManager("Иванов", "a@x.ru"), 0);
    EXPECT_EQ(addManager("Иванов", "b@x.ru"), 0);
    EXPECT_EQ(addManager("иванов", "a@x.ru"), DuplicateKey);
    EXPECT_EQ(SPRMAN().records(), 2);
    RelateSPRMAN->close();
}

TEST_F(DictionaryTest, RequisitesAreEncipheredAtRest)
{
    ASSERT_EQ(RelateREKV->open(), 0);
    REKV().clearBuffer();
    REK().NAIM = "SecretCustomerName";
    ASSERT_EQ(REKV().add(), 0);
    RelateREKV->close();
    const std::string bytes = testsupport::readFileBytes(m_folder.file("rekv.tps"));
    EXPECT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.find("SecretCustomerName"), std::string::npos);

    ASSERT_EQ(RelateREKV->open(), 0);
    REKV().setFileOrder();
    ASSERT_EQ(REKV().next(), 0);
    EXPECT_EQ(REK().NAIM, "SecretCustomerName");
    RelateREKV->close();
}

TEST_F(DictionaryTest, OpensNestPerThread)
{
    ASSERT_EQ(RelateSPRPR->open(), 0);
    ASSERT_EQ(RelateSPRPR->open(), 0);
    EXPECT_EQ(AccessSPRPR->openCount(), 2);
    {
        platform::storage::ThreadScope other(2);
        EXPECT_FALSE(SPRPR().isOpen());
        ASSERT_EQ(RelateSPRPR->open(), 0);
        RelateSPRPR->close();
        EXPECT_FALSE(SPRPR().isOpen());
    }
    RelateSPRPR->close();
    EXPECT_TRUE(SPRPR().isOpen());
    RelateSPRPR->close();
    EXPECT_FALSE(SPRPR().isOpen());
}
