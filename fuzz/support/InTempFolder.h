#pragma once

#include <filesystem>

// For readers that look for their file in the working folder: while it lives, the fuzz
// temporary folder is the working folder; the previous one is given back at its end.
namespace fuzzsupport {

class InTempFolder
{
public:
    InTempFolder();
    ~InTempFolder();
    InTempFolder(const InTempFolder&) = delete;
    InTempFolder& operator=(const InTempFolder&) = delete;

    // libFuzzer writes a crash input relative to the working folder, which is the temporary
    // folder when the crash comes inside; called from LLVMFuzzerInitialize, this anchors the
    // inputs to the folder the fuzzer was started in, unless the command line says where.
    static void anchorArtifacts(int* argc, char*** argv);

private:
    std::filesystem::path m_previous;
};

} // namespace fuzzsupport
