// vtxctl: the tool's companion for service scripts and machines without a display.
//   vtxctl check DB               open DB as the tool's start-up does (compaction included),
//                                 print each message the tool would show, one per line;
//                                 exit 0 when the tool would go on, 1 when it would stop
//   vtxctl create DB SCRIPT...    build a new database from SQL scripts, run in order
#include "platform/dao/error.h"
#include "vtx/model/printed_messages.h"
#include "vtx/model/session.h"
#include "vtx/model/sql_script.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

int usage()
{
    std::cerr << "usage: vtxctl check DB\n"
                 "       vtxctl create DB SCRIPT...\n";
    return 2;
}

int check(const std::string& path)
{
    vyr::vtx::PrintedMessages messages(std::cout);
    vyr::vtx::Session session(messages, "");   // the tool as started without a switch
    return session.start(path) == vyr::vtx::Session::Start::Ready ? 0 : 1;
}

int create(const std::string& path, const std::vector<std::string>& scripts)
{
    try {
        vyr::vtx::createDatabaseFromScripts(path, scripts);
        return 0;
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "check")
        return check(args[1]);
    if (args.size() >= 3 && args[0] == "create")
        return create(args[1], std::vector<std::string>(args.begin() + 2, args.end()));
    return usage();
}
