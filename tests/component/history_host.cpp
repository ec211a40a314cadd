// Saves an item for the history test and waits to be killed.
//
// Usage: history_host FOLDER open|committed|run
//   open       names the edit's source and changes the item inside a
//              transaction, says "open" and waits, never committing
//   committed  does the same, commits, says "committed" and waits
//   run        saves the item again and again ("Name 1", "Name 2" ...),
//              saying the number of each save once it is stored

#include <Riri/ChangeSource.h>
#include <Riri/ComponentFolder.h>
#include <Riri/Connection.h>
#include <Riri/InventoryCopy.h>
#include <Riri/dllHome.h>

#include <QCoreApplication>
#include <QDateTime>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        return 2;
    }
    Riri::setComponentFolder(QString::fromLocal8Bit(argv[1]));
    const QByteArray mode(argv[2]);
    if (mode == "run") {
        for (int i = 1;; ++i) {
            Riri::dllHome home;
            QStringList text{"A-1", QStringLiteral("Name %1").arg(i), "", "", "Den", "", "", ""};
            std::vector<double> money{1, 2};
            QDateTime date(QDate(2005, 3, 1), QTime(0, 0));
            if (!home.UpdateItems(text, money, date)) {
                return 1;
            }
            std::printf("%d\n", i);
            std::fflush(stdout);
        }
    }
    Riri::Connection con;
    con.setConnectionString(QStringLiteral("Data Source=") +
                            Riri::connectionValue(Riri::InventoryCopy::databasePath()) + ";");
    con.Open();
    con.BeginTrans();
    con.nameSource(Riri::ChangeSource::EditItem);
    con.Execute(QStringLiteral("UPDATE tblItems SET ItemName = 'Name 1' WHERE ID = 1"));
    if (mode == "committed") {
        con.CommitTrans();
    }
    std::printf("%s\n", mode.constData());
    std::fflush(stdout);
    for (;;) {
        pause();
    }
}
