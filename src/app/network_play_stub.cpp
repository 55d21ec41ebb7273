// Stands in for the networked match on the table until it arrives: the table
// joined is reported to the end-to-end scripts and left again. The whole file
// goes when the table plays the match.
#include <QString>

#include "app/program.h"
#include "platform/net_link.h"
#include "platform/waits.h"

namespace tarvelis {

void Program::PlayNetworkMatch(const net::JoinedTable& joined, std::unique_ptr<NetLink> link) {
  // The message that started the match must still be the first unread.
  const std::string& next = link->Peek();
  const bool started = next.find("\"type\":\"started\"") != std::string::npos ||
                       next.find("\"type\":\"table\"") != std::string::npos;
  ReportTestStatus(QStringLiteral("network match code %1 seat %2 host %3 next %4")
                       .arg(QString::fromStdString(joined.Code))
                       .arg(joined.Seat)
                       .arg(joined.Host ? 1 : 0)
                       .arg(started ? QStringLiteral("started") : QStringLiteral("other")));
  link->Close();
}

}  // namespace tarvelis
