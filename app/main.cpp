#include "app/startup/ProgramEntry.h"

int main(int argc, char** argv)
{
    return app::ProgramEntry(argc, argv);
}
