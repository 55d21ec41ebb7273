// "look": who sits at a table, asked by its code before sitting down, so the
// join page can offer only the free seats. It answers with the same "seats"
// list every seat hears, which names the seats and never holds a token.
#include "server/hall.h"

namespace tarvelis::server {

void Hall::OnLook(int conn, Conn& c, const Request& r, std::int64_t now) {
  if (!MayLookUp(c, now)) {
    Error(conn, ErrorCode::kTooFast);
    return;
  }
  const ServerTable* table = Find(r.Code);
  if (table == nullptr) {
    LookupFailed(conn, c, now);
    return;
  }
  sends_.emplace_back(conn, Json::Object()
                                .Set("v", kProtocolVersion)
                                .Set("type", "seats")
                                .Set("code", table->Code())
                                .Set("started", Json::Bool(table->Started()))
                                .Set("seats", table->SeatsJson())
                                .Dump());
}

}  // namespace tarvelis::server
