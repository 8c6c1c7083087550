// What a failure shows service staff: the database layer's descriptions split into the tool's
// message and the SQL and engine words kept as details.
#include "vtx/model/error_text.h"
#include "vtx/model/printed_messages.h"

#include <gtest/gtest.h>
#include <sstream>

namespace vyr::vtx {
namespace {

TEST(ErrorTextTest, SqlAndEngineWordsGoToTheDetails)
{
    struct Row {
        std::string description, message, details;
    };
    const std::vector<Row> rows = {
        {"The database '/d/System.mdb' is locked by another user or program (in \"SELECT count(*) FROM sqlite_master\")",
         "The database '/d/System.mdb' is locked by another user or program", "in \"SELECT count(*) FROM sqlite_master\""},
        {"The database '/d/System.mdb' is read-only (opening the database)", "The database '/d/System.mdb' is read-only",
         "opening the database"},
        {"Cannot find the table in \"SELECT * FROM [Available Dios] WHERE [ID Available] = 'REG530'\": no such table: Available Dios",
         "Cannot find the table [Available Dios]",
         "in \"SELECT * FROM [Available Dios] WHERE [ID Available] = 'REG530'\": no such table: Available Dios"},
        {"Cannot find the column in \"SELECT [X] FROM [T]\": no such column: X", "Cannot find the column [X]",
         "in \"SELECT [X] FROM [T]\": no such column: X"},
        {"Cannot read or write '/d/System.mdb': disk I/O error (in \"COMMIT\")", "Cannot read or write '/d/System.mdb'",
         "disk I/O error; in \"COMMIT\""},
        {"in \"UPDATE [T] SET [A] = 1\": constraint failed", "The System Database could not be read or written",
         "in \"UPDATE [T] SET [A] = 1\": constraint failed"},
        // The tool's own texts stay whole.
        {"Could not find file ''", "Could not find file ''", ""},
        {"Type mismatch: 'x (y)' is not a number", "Type mismatch: 'x (y)' is not a number", ""},
    };
    for (const Row& r : rows) {
        ErrorText t = errorText(r.description);
        EXPECT_EQ(t.message, r.message) << r.description;
        EXPECT_EQ(t.details, r.details) << r.description;
    }
}

TEST(ErrorTextTest, PrintedMessagesShowDetailsOnlyWhereAsked)
{
    std::ostringstream out, details;
    const std::runtime_error e("The database 'x' is read-only (in \"COMMIT\")");
    PrintedMessages quiet(out);
    quiet.report(e);
    PrintedMessages verbose(out, &details);
    verbose.report(e);
    EXPECT_EQ(out.str(), "The database 'x' is read-only\nThe database 'x' is read-only\n");
    EXPECT_EQ(details.str(), "  details: in \"COMMIT\"\n");
}

} // namespace
} // namespace vyr::vtx
