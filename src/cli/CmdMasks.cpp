// varnelt-cli masks
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "foundation/MessageGateway.h"
#include "naming/MaskFiles.h"

using namespace Qt::StringLiterals;

int runMasksCommand(const QStringList &args)
{
    if (!args.isEmpty())
        return Cli::fail(u"masks takes no arguments"_s);
    Cli::installPresenter();
    QStringList problems;
    const QList<MaskEntry> entries = readMaskInfo(problems);
    for (const QString &problem : problems)
        Msg::showError(problem);
    for (const MaskEntry &entry : entries)
        Cli::out() << maskTypeText(entry.isUser() ? MaskType::User : MaskType::Default) << '\t' << entry.text << '\n';
    Cli::out().flush();
    return Cli::Success;
}
