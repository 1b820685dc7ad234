#include "platform/uiservices.h"

#include <QDir>

#include "util/cp1252.h"

namespace qm {

HelpRequest UiServices::ProgramHelp(HelpCommand command, int context) const {
    HelpRequest request;
    request.helpFile = Utf16ToCp1252(QDir::toNativeSeparators(helpFile_).toStdU16String());
    request.command = command;
    request.context = context;
    return request;
}

void UiServices::ShowHelpIndex(const QString& keyword) {
    HelpRequest request = ProgramHelp(HelpCommand::Index);
    request.keyword = Utf16ToCp1252(keyword.toStdU16String());
    Help(request);
}

}  // namespace qm
