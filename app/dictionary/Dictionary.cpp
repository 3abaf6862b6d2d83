#include "app/dictionary/Dictionary.h"

#include "platform/ui/WindowErrorReporter.h"

#include <array>

namespace app {

RecordFileManager* AccessPRIOSN = nullptr;
RecordFileManager* AccessPRIOSN_N = nullptr;
RecordFileManager* AccessPRIOSN_S = nullptr;
RecordFileManager* AccessKORZAK = nullptr;
RecordFileManager* AccessSPRPR = nullptr;
RecordFileManager* AccessPROIZ = nullptr;
RecordFileManager* AccessSPRMAN = nullptr;
RecordFileManager* AccessREKV = nullptr;
RecordFileManager* AccessREKV_N = nullptr;
RecordFileManager* AccessREKV_S = nullptr;
RecordFileManager* AccessREKV_D = nullptr;

FileRelation* RelatePRIOSN = nullptr;
FileRelation* RelatePRIOSN_N = nullptr;
FileRelation* RelatePRIOSN_S = nullptr;
FileRelation* RelateKORZAK = nullptr;
FileRelation* RelateSPRPR = nullptr;
FileRelation* RelatePROIZ = nullptr;
FileRelation* RelateSPRMAN = nullptr;
FileRelation* RelateREKV = nullptr;
FileRelation* RelateREKV_N = nullptr;
FileRelation* RelateREKV_S = nullptr;
FileRelation* RelateREKV_D = nullptr;

#define QUELB_DATA_FILE(name, layout)                                                            \
    RecordFile& name()                                                                           \
    {                                                                                            \
        static RecordFile file(layout());                                                        \
        return file;                                                                             \
    }
QUELB_DATA_FILE(PRIOSN, priosnLayout)
QUELB_DATA_FILE(PRIOSN_N, priosnNLayout)
QUELB_DATA_FILE(PRIOSN_S, priosnSLayout)
QUELB_DATA_FILE(KORZAK, korzakLayout)
QUELB_DATA_FILE(SPRPR, sprprLayout)
QUELB_DATA_FILE(PROIZ, proizLayout)
QUELB_DATA_FILE(SPRMAN, sprmanLayout)
QUELB_DATA_FILE(REKV, rekvLayout)
QUELB_DATA_FILE(REKV_N, rekvNLayout)
QUELB_DATA_FILE(REKV_S, rekvSLayout)
QUELB_DATA_FILE(REKV_D, rekvDLayout)
#undef QUELB_DATA_FILE

platform::storage::ErrorReporter& GlobalErrors()
{
    // File errors reach the user in a message box.
    static platform::ui::WindowErrorReporter reporter;
    return reporter;
}

namespace {

// What the dictionary declares for one data file.
struct FileDeclaration
{
    RecordFile& (*file)();
    const char* fileNameValue;
    RecordFileManager** access;
    FileRelation** relate;
};

// The file manager of a dictionary file: shared settings, the file's keys with their names as
// descriptions, and its global reference kept while it is initialised.
class DictionaryFileManager : public RecordFileManager
{
public:
    void setUp(const FileDeclaration& declaration)
    {
        m_declaration = &declaration;
        RecordFile& file = declaration.file();
        RecordFileManager::init(file, GlobalErrors());
        fileNameValue = declaration.fileNameValue;
        openMode = 0x22;
        create = true;
        lockRecover = 10;
        const auto& keys = file.layout().keys;
        for (int key = 0; key < static_cast<int>(keys.size()); ++key)
            addKey(key, keys[key].name);
        *declaration.access = this;
    }

    void kill() override
    {
        RecordFileManager::kill();
        if (m_declaration)
            *m_declaration->access = nullptr;
    }

private:
    const FileDeclaration* m_declaration = nullptr;
};

// The relation over one file manager, with no related files.
class DictionaryRelation : public FileRelation
{
public:
    void setUp(const FileDeclaration& declaration)
    {
        m_declaration = &declaration;
        m_manager.setUp(declaration);
        FileRelation::init(m_manager);
    }

    void kill() override
    {
        if (!m_declaration)
            return;
        m_manager.kill();
        FileRelation::kill();
        *m_declaration->relate = nullptr;
        m_declaration = nullptr;
    }

private:
    const FileDeclaration* m_declaration = nullptr;
    DictionaryFileManager m_manager;
};

// In the order the dictionary initialises and releases them.
const std::array<FileDeclaration, 11> declarations = {{
    {PRIOSN, "priosn", &AccessPRIOSN, &RelatePRIOSN},
    {SPRPR, "sprpr", &AccessSPRPR, &RelateSPRPR},
    {KORZAK, "korzak", &AccessKORZAK, &RelateKORZAK},
    {PRIOSN_N, "priosn_n", &AccessPRIOSN_N, &RelatePRIOSN_N},
    {PRIOSN_S, "priosn_s", &AccessPRIOSN_S, &RelatePRIOSN_S},
    {SPRMAN, "sprman", &AccessSPRMAN, &RelateSPRMAN},
    {REKV, "rekv", &AccessREKV, &RelateREKV},
    {REKV_N, "rekv_n", &AccessREKV_N, &RelateREKV_N},
    {REKV_S, "rekv_s", &AccessREKV_S, &RelateREKV_S},
    {PROIZ, "proiz", &AccessPROIZ, &RelatePROIZ},
    {REKV_D, "rekv_d", &AccessREKV_D, &RelateREKV_D},
}};

std::array<DictionaryRelation, 11>& relations()
{
    static std::array<DictionaryRelation, 11> objects;
    return objects;
}

} // namespace

void DictionaryInit()
{
    for (std::size_t i = 0; i < declarations.size(); ++i)
        *declarations[i].relate = &relations()[i];
    for (std::size_t i = 0; i < declarations.size(); ++i)
        relations()[i].setUp(declarations[i]);
}

void DictionaryKill()
{
    for (auto& relation : relations())
        relation.kill();
}

} // namespace app
