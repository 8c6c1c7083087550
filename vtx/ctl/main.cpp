// vtxctl: the tool's companion for service scripts and machines without a display.
//   vtxctl check DB               open DB as the tool's start-up does (compaction included),
//                                 print each message the tool would show, one per line;
//                                 exit 0 when the tool would go on, 1 when it would stop,
//                                 4 when it would show the database read-only
//   vtxctl create DB SCRIPT...    build a new database from SQL scripts, run in order
//   vtxctl show DB                print the configuration as the diagram loads it, as JSON
//   vtxctl store DB [NAME=VALUE...] [--yes|--no] [--fw1 N|--fw1 cancel] [--dry-run]
//                                 load, apply the changes, run Store answering its question
//                                 and the filter-wheel dialog as told; print every message;
//                                 exit 0 when stored, 3 when refused or cancelled. With
//                                 --dry-run print each row change Store would make, one a
//                                 line, and write nothing
//   vtxctl backups DB             the copies Store kept beside DB, oldest first, each with the
//                                 row changes made after it
//   vtxctl undo DB                undo the last Store by rows: its rows get their earlier
//                                 values back, later changes stay; exit 0 undone, 3 refused
//                                 (rows changed since are named; nothing is written)
//   vtxctl restore DB BACKUP      put a backup back as DB (the current state is kept as a
//                                 backup first); exit 0 restored, 1 failed
//   vtxctl demo DB                make a demo System Database at DB and name it in the
//                                 registry store
// --verbose anywhere prints the details of failures (SQL, the engine's words) on stderr.
//   vtxctl filters list DB        the customer-added filters: name TAB summary, one a line
//   vtxctl filters add DB NAME=… CODE=… SUMMARY=… TYPE=… SPECTRAL=…
//                      [LOWER=… CENTER=… UPPER=… | CUTOFF=…] [PRODUCER=…]
//                                 Apply and Close of the filter editor: print the refusal;
//                                 exit 0 when added, 3 when refused
//   vtxctl filters remove DB NAME Remove of the filter editor; exit 0 removed, 3 refused
#include "platform/dao/error.h"
#include "vtx/ctl/backups.h"
#include "vtx/ctl/configure.h"
#include "vtx/ctl/filters.h"
#include "vtx/ctl/output.h"
#include "vtx/model/printed_messages.h"
#include "vtx/model/session.h"
#include "vtx/model/sql_script.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

// The forms of the command line, after "usage: " (a bad command line) or "Usage: " (--help).
constexpr const char* kSynopsis =
    "vtxctl check DB\n"
    "  or:  vtxctl create DB SCRIPT...\n"
    "  or:  vtxctl show DB\n"
    "  or:  vtxctl store DB [NAME=VALUE...] [--yes|--no] [--fw1 N|--fw1 cancel] [--dry-run]\n"
    "  or:  vtxctl backups DB\n"
    "  or:  vtxctl undo DB\n"
    "  or:  vtxctl restore DB BACKUP\n"
    "  or:  vtxctl demo DB\n"
    "  or:  vtxctl filters list DB\n"
    "  or:  vtxctl filters add DB NAME=... CODE=... SUMMARY=... TYPE=... SPECTRAL=... "
    "[LOWER=... CENTER=... UPPER=... | CUTOFF=...] [PRODUCER=...]\n"
    "  or:  vtxctl filters remove DB NAME\n";

constexpr const char* kHelp =
    "The vtx tool's checks and changes of a System Database DB, for scripts and machines\n"
    "without a display. Every message the tool would show is printed, one per line.\n"
    "\n"
    "Commands:\n"
    "  check DB           open DB as the tool's start-up does (compaction included); exit 0\n"
    "                     when the tool would go on, 1 when it would stop, 4 when it would\n"
    "                     show DB read-only (a read-only file or folder)\n"
    "  create DB SCRIPT...\n"
    "                     build a new database from SQL scripts, run in order\n"
    "  show DB            print the configuration as the diagram loads it, as JSON\n"
    "  store DB [NAME=VALUE...]\n"
    "                     load, apply the changes (diagram part = choice), run Store; exit 0\n"
    "                     when stored, 3 when refused or cancelled; with --dry-run every row\n"
    "                     change Store would make is printed and nothing is written\n"
    "  backups DB         the copies kept before each Store, oldest first, with what changed\n"
    "  undo DB            undo the last Store by rows: the rows it changed get their earlier\n"
    "                     values back, later changes stay; exit 0 undone, 3 refused when\n"
    "                     rows changed since (they are named, nothing is written)\n"
    "  restore DB BACKUP  put a backup back (the current state is kept as a backup first)\n"
    "  demo DB            make a demo System Database at DB (which must not exist) from the\n"
    "                     installed schema and demo data, and name it in the registry store\n"
    "  filters list DB    the customer-added filters: name TAB summary, one a line\n"
    "  filters add DB FIELD=VALUE...\n"
    "                     Apply and Close of the filter editor; exit 0 when added, 3 when\n"
    "                     refused (the refusal is printed)\n"
    "  filters remove DB NAME\n"
    "                     Remove of the filter editor; exit 0 when removed, 3 when refused\n"
    "\n"
    "Options:\n"
    "  --yes, --no        the answer to Store's question\n"
    "  --fw1 N            the position chosen in the filter-wheel dialog; --fw1 cancel\n"
    "                     cancels the dialog\n"
    "  --verbose          print the details of failures (SQL text, the engine's words) on\n"
    "                     standard error\n"
    "  -h, --help         print this help and exit\n"
    "\n"
    "Exit status 2: the command line was not understood.\n";

int usage()
{
    std::cerr << "usage: " << kSynopsis;
    return 2;
}

int check(const std::string& path)
{
    vyr::vtx::PrintedMessages messages(std::cout, vyr::vtx::ctl::detailsStream());
    vyr::vtx::Session session(messages, "");   // the tool as started without a switch
    if (session.start(path) != vyr::vtx::Session::Start::Ready)
        return 1;
    if (!session.readOnlyNote().empty()) {
        messages.inform(session.readOnlyNote());
        return 4;
    }
    return 0;
}

int create(const std::string& path, const std::vector<std::string>& scripts)
{
    try {
        vyr::vtx::createDatabaseFromScripts(path, scripts);
        return 0;
    } catch (const std::exception& e) {
        vyr::vtx::ctl::printError(e);
        return 1;
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--verbose")
            vyr::vtx::ctl::setVerbose(true);
        else
            args.emplace_back(argv[i]);
    }
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << "Usage: " << kSynopsis << "\n" << kHelp;
        return 0;
    }
    if (args.size() == 2 && args[0] == "check")
        return check(args[1]);
    if (args.size() >= 3 && args[0] == "create")
        return create(args[1], std::vector<std::string>(args.begin() + 2, args.end()));
    if (args.size() == 2 && args[0] == "show")
        return vyr::vtx::ctl::show(args[1]);
    if (args.size() >= 2 && args[0] == "store") {
        auto options = vyr::vtx::ctl::parseStoreOptions(std::vector<std::string>(args.begin() + 2, args.end()));
        if (!options)
            return usage();
        return vyr::vtx::ctl::store(args[1], *options);
    }
    if (args.size() == 2 && args[0] == "backups")
        return vyr::vtx::ctl::listBackupChanges(args[1]);
    if (args.size() == 2 && args[0] == "undo")
        return vyr::vtx::ctl::undo(args[1]);
    if (args.size() == 2 && args[0] == "demo")
        return vyr::vtx::ctl::demo(args[1]);
    if (args.size() == 3 && args[0] == "restore")
        return vyr::vtx::ctl::restore(args[1], args[2]);
    if (args.size() == 3 && args[0] == "filters" && args[1] == "list")
        return vyr::vtx::ctl::listFilters(args[2]);
    if (args.size() >= 3 && args[0] == "filters" && args[1] == "add")
        return vyr::vtx::ctl::addFilter(args[2], std::vector<std::string>(args.begin() + 3, args.end()));
    if (args.size() == 4 && args[0] == "filters" && args[1] == "remove")
        return vyr::vtx::ctl::removeFilter(args[2], args[3]);
    return usage();
}
