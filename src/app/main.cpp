#include "app/Application.h"
#include "app/Startup.h"

int main(int argc, char* argv[]) {
    talvor::TalvorApplication app(argc, argv);
    return talvor::runProgram(app);
}
