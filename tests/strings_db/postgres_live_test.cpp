// The team table live: others' changes announced on the connection, a post over a newer version
// handing back their record, a lost server told apart and reconnected, and a write that waits for
// another writer's lock saying so first.
#include "strings_db/strings_table.h"
#include "strings_db/table_notifications.h"
#include "strings_table_test_util.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

namespace wordloom::table_test {
namespace {

class PostgresLive : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::NoServerReason().empty()) {
            GTEST_SKIP() << test::NoServerReason();
        }
        file.Create(Backend::Postgres);
    }
    TestTable file;
};

/// The notices `watcher` receives, waiting on its socket as an event loop would (bounded).
int WaitForNotices(TableNotifications& watcher) {
    for (int round = 0; round < 50; ++round) {
        pollfd socket{watcher.Socket(), POLLIN, 0};
        ::poll(&socket, 1, 100);
        if (const int notices = watcher.TakeNotices(); notices > 0) {
            return notices;
        }
    }
    return 0;
}

TEST_F(PostgresLive, OthersCommittedChangesAreAnnouncedAndOwnOnesAreNot) {
    StringsTable alice(file.Path());
    StringsTable bob(file.Path());
    TableNotifications* aliceHears = alice.Notifications();
    TableNotifications* bobHears = bob.Notifications();
    ASSERT_NE(bobHears, nullptr);
    ASSERT_GE(bobHears->Socket(), 0);
    EXPECT_EQ(aliceHears->TakeNotices(), 0);

    AddRecord(alice, "Save");
    EXPECT_GE(WaitForNotices(*bobHears), 1);
    EXPECT_EQ(aliceHears->TakeNotices(), 0); // her own post

    // Uncommitted work is not announced; its commit is.
    StringsTable::Transaction transaction(alice);
    AddRecord(alice, "Open");
    pollfd socket{bobHears->Socket(), POLLIN, 0};
    ::poll(&socket, 1, 200);
    EXPECT_EQ(bobHears->TakeNotices(), 0);
    transaction.Commit();
    EXPECT_GE(WaitForNotices(*bobHears), 1);

    // A notice that arrived while Bob read the table himself is not lost.
    AddRecord(alice, "Close");
    bob.Refresh();
    bob.SetIndexFieldNames("English");
    bob.First();
    EXPECT_GE(WaitForNotices(*bobHears), 1);
}

TEST_F(PostgresLive, ATableMadeBeforeLiveUpdatesGetsItsTriggerOnOpen) {
    file.Exec("DROP TRIGGER strings_notify ON strings; DROP FUNCTION wordloom_notify_change()");
    StringsTable bob(file.Path());
    EXPECT_EQ(file.Query("SELECT count(*) FROM pg_trigger WHERE tgname = 'strings_notify' "
                         "AND tgrelid = 'strings'::regclass"),
              "1");
    {
        StringsTable alice(file.Path()); // finds it there
        AddRecord(alice, "Save");
    }
    EXPECT_GE(WaitForNotices(*bob.Notifications()), 1);
    // Read-only, the table is left as it is.
    file.Exec("DROP TRIGGER strings_notify ON strings");
    StringsTable reader(file.Path(), OpenMode::ReadOnly);
    EXPECT_EQ(file.Query("SELECT count(*) FROM pg_trigger WHERE tgname = 'strings_notify' "
                         "AND tgrelid = 'strings'::regclass"),
              "0");
}

TEST_F(PostgresLive, AConflictHandsBackTheirRecordAndKeepsRefusingUntilChosen) {
    StringsTable alice(file.Path());
    StringsTable bob(file.Path());
    AddRecord(alice, "Save");
    for (StringsTable* table : {&alice, &bob}) {
        table->SetIndexFieldNames("English");
        table->First();
        table->Edit();
    }
    alice.SetField("German", "Speichern");
    alice.Post();
    bob.SetField("German", "Sichern");
    try {
        bob.Post();
        FAIL() << "posted over Alice's newer text";
    } catch (const VersionConflict& conflict) {
        EXPECT_EQ(conflict.Theirs().at("German"), "Speichern");
        EXPECT_EQ(conflict.Theirs().at("English"), "Save");
        EXPECT_EQ(conflict.Theirs().at("French"), ""); // NULL
    }
    // Having been shown theirs is not having chosen: the same post is refused again.
    EXPECT_THROW(bob.Post(), VersionConflict);
    EXPECT_EQ(file.Query("SELECT German FROM strings"), "Speichern");
    EXPECT_EQ(bob.FieldAsString("German"), "Sichern");
}

TEST_F(PostgresLive, ALostServerIsToldApartAndTheConnectionMadeAgain) {
    // Bob's connection is named, so that the server can drop it alone.
    const std::string name = "wl_bob_" + std::to_string(::getpid());
    StringsTable alice(file.Path());
    StringsTable bob(file.Path() + "&application_name=" + name);
    bob.SetIndexFieldNames("English");
    TableNotifications* bobHears = bob.Notifications();
    const auto dropBob = [&] {
        EXPECT_EQ(file.Query("SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity WHERE "
                             "application_name = '" +
                             name + "'"),
                  "1");
    };
    dropBob();
    for (int round = 0; round < 50 && bobHears->Connected(); ++round) {
        pollfd socket{bobHears->Socket(), POLLIN, 0};
        ::poll(&socket, 1, 100);
        bobHears->TakeNotices();
    }
    EXPECT_FALSE(bobHears->Connected());
    EXPECT_EQ(bobHears->Socket(), -1);
    EXPECT_TRUE(bobHears->Reconnect());
    AddRecord(alice, "Heard again");
    EXPECT_GE(WaitForNotices(*bobHears), 1); // listening once more

    // Inside a transaction the loss is reported, not papered over by a fresh connection.
    bob.BeginTransaction();
    AddRecord(bob, "Lost with the transaction");
    dropBob();
    try {
        AddRecord(bob, "After the loss");
        FAIL() << "wrote on after the connection was lost";
    } catch (const ConnectionLost&) {
    }
    bob.Cancel();
    bob.Rollback();
    EXPECT_EQ(file.Query("SELECT count(*) FROM strings WHERE English LIKE '%loss%' OR English LIKE 'Lost%'"),
              "0");
    // Outside one, the next write reconnects by itself.
    AddRecord(bob, "Written after reconnecting");
    EXPECT_EQ(file.Query("SELECT count(*) FROM strings WHERE English = 'Written after reconnecting'"), "1");
}

TEST_F(PostgresLive, AWriteWaitingForAnotherWritersLockSaysSoFirst) {
    StringsTable alice(file.Path());
    StringsTable bob(file.Path());
    int waits = 0;
    bob.Notifications()->SetLockWaitNotice([&waits] { ++waits; });
    bob.SetBusyTimeout(300);
    AddRecord(bob, "Unhindered");
    EXPECT_EQ(waits, 0);
    StringsTable::Transaction transaction(alice);
    AddRecord(alice, "Holding the lock");
    bob.Insert();
    bob.SetField("English", "Waiting");
    EXPECT_THROW(bob.Post(), TableError);
    EXPECT_EQ(waits, 1);
    EXPECT_EQ(bob.State(), TableState::Insert); // kept for the next try
    transaction.Commit();
    bob.Post();
    EXPECT_EQ(file.Query("SELECT count(*) FROM strings"), "3");
    // A transaction waits for the lock the same way.
    StringsTable::Transaction again(alice);
    AddRecord(alice, "Holding it again");
    EXPECT_THROW(bob.BeginTransaction(), TableError);
    EXPECT_EQ(waits, 2);
    EXPECT_FALSE(bob.InTransaction());
}

} // namespace
} // namespace wordloom::table_test
