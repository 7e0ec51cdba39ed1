// new and reindex: address files from the command line.

#include <QFileInfo>
#include <ostream>

#include "AddressFile.h"
#include "AppHome.h"
#include "Cli.h"
#include "Commands.h"
#include "FieldLengths.h"
#include "NewDatabase.h"
#include "Settings.h"

namespace cli {

int newCommand(const Invocation& in) {
    const QString path = QString::fromStdString(in.args.operand(0));
    QString message;
    if (!NewDatabase::CheckNewPath(path, &message)) return fail(in, message);
    const AppHome home(QString::fromStdString(in.home));
    const FieldLengths widths = FieldLengths::LoadFieldLengths(Settings(Settings::GetIniFileName(home)));
    if (!AddressFile::CreateAddressFile(path, widths, &message)) return fail(in, message);
    in.out << "Created " << in.args.operand(0) << "\n";
    return kOk;
}

int reindexCommand(const Invocation& in) {
    const QString path = QString::fromStdString(in.args.operand(0));
    std::unique_ptr<xbase::Table> table;
    QString message;
    QStringList messages;
    // A header that counts fewer records than the file holds would have the pack drop
    // the rest: the count is recovered from the size first.
    if (!AddressFile::RecordCountDamage(path).isEmpty()) {
        if (!AddressFile::RecoverRecordCount(path, &message)) return fail(in, message);
        in.out << message.replace("\r\n", "\n").toStdString() << "\n";
    }
    if (!AddressFile::OpenQYZFile(path, &table, &messages)) return fail(in, messages.join("\n"));
    // Each phase's text is a line of the command's output.
    class PhaseLines : public JobProgress {
      public:
        explicit PhaseLines(std::ostream& out) : out_(out) {}
        void status(const QString& text) override { out_ << text.toStdString() << "\n"; }

      private:
        std::ostream& out_;
    } phases(in.out);
    AddressFile::ReindexGauge gauge;
    const bool ok = AddressFile::Reindex(*table, gauge, &message, phases);
    if (!ok) return fail(in, message);
    const uint32_t records = table->recCount();
    if (!table->close().ok()) return fail(in, "Cannot close " + path);
    in.out << records << " records, " << AddressFile::tags().size() << " tags\n";
    return kOk;
}

}  // namespace cli
