#include "server/hall.h"

#include <fstream>
#include <system_error>

#include "server/move_pool.h"
#include "storage/file_access.h"
#include "storage/state_file.h"

namespace tarvelis::server {
namespace {

constexpr const char* kFileSuffix = ".table";
// A table file is a state file and a few lines about its seats.
constexpr std::uintmax_t kMaxTableFileBytes = kMaxStateFileBytes + 4096;

std::uint32_t FreshSeed() {
  return SystemSource()();
}

}  // namespace

ServerTable* Hall::Find(std::string_view code) {
  const auto it = tables_.find(code);
  return it == tables_.end() ? nullptr : it->second.Table.get();
}

void Hall::Opened(int conn) {
  conns_.try_emplace(conn,
                     Conn{{}, 0, FloodGate(options_.MessagesPerSecond, options_.MessageBurst)});
}

void Hall::Error(int conn, ErrorCode code) {
  sends_.emplace_back(conn, Json::Object()
                                .Set("v", kProtocolVersion)
                                .Set("type", "error")
                                .Set("error", ErrorName(code))
                                .Set("text", ErrorText(code))
                                .Dump());
}

void Hall::Dispatch(ServerTable& table) {
  if (options_.Pool == nullptr) return;
  if (std::optional<MoveJob> job = table.TakeMoveJob()) options_.Pool->Submit(std::move(*job));
}

void Hall::MovesComputed(std::int64_t now) {
  if (options_.Pool == nullptr) return;
  for (const MoveResult& result : options_.Pool->TakeDone()) {
    const auto it = tables_.find(result.Code);
    if (it != tables_.end() && it->second.Table->ApplyMove(result, now)) Deliver(it->second);
  }
}

void Hall::Deliver(Place& place) {
  Dispatch(*place.Table);
  for (Outgoing& out : place.Table->TakeOutbox()) {
    const int conn = place.Conn[out.Seat];
    if (conn != 0) sends_.emplace_back(conn, std::move(out.Text));
  }
}

void Hall::Bind(Place& place, int conn, int seat) {
  const int old = place.Conn[seat];
  // A client coming back replaces the connection it left behind.
  if (old != 0 && old != conn) {
    if (auto it = conns_.find(old); it != conns_.end()) {
      it->second.Code.clear();
      it->second.Seat = 0;
    }
  }
  place.Conn[seat] = conn;
  Conn& c = conns_[conn];
  c.Code = place.Table->Code();
  c.Seat = seat;
}

void Hall::Closed(int conn, std::int64_t now) {
  const auto it = conns_.find(conn);
  if (it == conns_.end()) return;
  const Conn c = it->second;
  conns_.erase(it);
  if (c.Seat == 0) return;
  const auto place = tables_.find(c.Code);
  if (place == tables_.end() || place->second.Conn[c.Seat] != conn) return;
  place->second.Conn[c.Seat] = 0;
  place->second.Table->Dropped(c.Seat, now);
  Deliver(place->second);
}

void Hall::Received(int conn, std::string_view text, std::int64_t now) {
  const auto it = conns_.find(conn);
  if (it == conns_.end()) return;
  if (!it->second.Gate.Admit(now)) {
    Error(conn, ErrorCode::kTooFast);
    return;
  }
  const ReadOutcome read = ReadRequest(text);
  if (!read.Ok) {
    Error(conn, read.Error);
    return;
  }
  const Request& r = read.Value;
  ErrorCode error = ErrorCode::kBadMessage;

  if (r.Type == RequestType::kCreate) {
    if (tables_.size() >= options_.MaxTables) {
      Error(conn, ErrorCode::kFull);
      return;
    }
    std::string code = NewCode();
    while (tables_.count(code) != 0) code = NewCode();
    Place place;
    const std::uint32_t seed = options_.Seed != 0 ? options_.Seed++ : FreshSeed();
    place.Table = std::make_unique<ServerTable>(code, r.Setup, seed, options_.Timers);
    place.Table->DeferMoves(options_.Pool != nullptr);
    tables_.emplace(code, std::move(place));
    sends_.emplace_back(
        conn,
        Json::Object().Set("v", kProtocolVersion).Set("type", "created").Set("code", code).Dump());
    return;
  }

  // A look-up by code, as join and resume are: it counts with theirs
  // wherever look-ups by code are limited.
  if (r.Type == RequestType::kLook) {
    Look(conn, r);
    return;
  }

  if (r.Type == RequestType::kJoin || r.Type == RequestType::kResume) {
    if (it->second.Seat != 0) {
      Error(conn, ErrorCode::kBadMessage);
      return;
    }
    const auto found = tables_.find(r.Code);
    if (found == tables_.end()) {
      Error(conn, ErrorCode::kNoTable);
      return;
    }
    Place& place = found->second;
    ServerTable& table = *place.Table;
    int seat = 0;
    std::string token;
    if (r.Type == RequestType::kJoin) {
      token = NewToken();
      if (!table.Join(r.Seat, r.Name, token, error)) {
        Error(conn, error);
        return;
      }
      seat = r.Seat;
    } else {
      seat = table.SeatOfToken(r.Token);
      if (seat == 0) {
        Error(conn, ErrorCode::kBadToken);
        return;
      }
      token = r.Token;
    }
    Bind(place, conn, seat);
    if (r.Type == RequestType::kResume) table.Arrived(seat, now);
    sends_.emplace_back(conn, Json::Object()
                                  .Set("v", kProtocolVersion)
                                  .Set("type", "seated")
                                  .Set("code", table.Code())
                                  .Set("seat", seat)
                                  .Set("token", token)
                                  .Dump());
    // The other seats hear who sat down or came back; this one gets the
    // whole table as it may see it, which holds that news, then the news since.
    for (Outgoing& out : table.TakeOutbox()) {
      const int to = place.Conn[out.Seat];
      if (out.Seat != seat && to != 0) sends_.emplace_back(to, std::move(out.Text));
    }
    sends_.emplace_back(conn, table.ViewFor(seat));
    if (std::string q = table.QuestionFor(seat); !q.empty())
      sends_.emplace_back(conn, std::move(q));
    return;
  }

  Conn& c = it->second;
  const auto found = c.Seat == 0 ? tables_.end() : tables_.find(c.Code);
  if (found == tables_.end()) {
    Error(conn, ErrorCode::kNotSeated);
    return;
  }
  Place& place = found->second;
  ServerTable& table = *place.Table;
  bool ok = true;
  switch (r.Type) {
    case RequestType::kStart:
      ok = table.Start(error, now);
      break;
    case RequestType::kMove:
      ok = table.Answer(c.Seat, r, error, now);
      break;
    case RequestType::kLeave:
      place.Conn[c.Seat] = 0;
      table.Left(c.Seat, now);
      c.Seat = 0;
      c.Code.clear();
      break;
    default:
      break;
  }
  if (!ok) Error(conn, error);
  Deliver(place);
}

void Hall::Tick(std::int64_t now) {
  for (auto& [code, place] : tables_) {
    const std::int64_t due = place.Table->NextDeadline();
    if (due >= 0 && due <= now && place.Table->Tick(now)) Deliver(place);
  }
}

std::filesystem::path Hall::FileOf(const std::string& code) const {
  // The code is the server's own making (IsCodeText), never a client's text.
  return options_.Folder / (code + kFileSuffix);
}

std::vector<Hall::FileJob> Hall::TakeFileJobs(std::size_t most, std::int64_t now) {
  std::vector<FileJob> jobs;
  auto it = tables_.lower_bound(saveFrom_);
  for (std::size_t seen = 0, total = tables_.size(); seen < total && jobs.size() < most; ++seen) {
    if (it == tables_.end()) it = tables_.begin();
    Place& place = it->second;
    ServerTable& table = *place.Table;
    bool bound = false;
    for (int seat = 1; seat <= kSeats; ++seat) bound = bound || place.Conn[seat] != 0;
    if (table.Finished() && !bound) {
      if (!options_.Folder.empty()) jobs.push_back({FileOf(table.Code()), {}});
      it = tables_.erase(it);
      continue;
    }
    const bool due = !place.Written || now - place.WrittenAt >= options_.FileSpacingMs;
    if (!options_.Folder.empty() && table.Dirty() && !table.Finished() && due) {
      jobs.push_back({FileOf(table.Code()), table.FileText()});
      place.Written = true;
      place.WrittenAt = now;
    }
    ++it;
  }
  saveFrom_ = it == tables_.end() ? std::string() : it->first;
  return jobs;
}

bool WriteFileJob(const Hall::FileJob& job) {
  if (job.Text.empty()) {
    std::error_code ignored;
    return std::filesystem::remove(job.Path, ignored);
  }
  return ReplaceFile(job.Path, job.Text);
}

int Hall::Load(std::int64_t now) {
  if (options_.Folder.empty()) return 0;
  std::error_code ec;
  int loaded = 0;
  for (const auto& entry : std::filesystem::directory_iterator(options_.Folder, ec)) {
    const std::filesystem::path& path = entry.path();
    const std::string code = path.stem().string();
    std::error_code sizeError;
    if (path.extension() != kFileSuffix || !IsCodeText(code) || !entry.is_regular_file() ||
        entry.file_size(sizeError) > kMaxTableFileBytes || sizeError || tables_.count(code) != 0)
      continue;
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto table = ServerTable::FromFileText(text, FreshSeed(), options_.Timers, now,
                                           options_.Pool != nullptr);
    if (table == nullptr || table->Code() != code) continue;
    Dispatch(*table);
    Place place;
    place.Table = std::move(table);
    place.Written = true;
    place.WrittenAt = now;
    tables_.emplace(code, std::move(place));
    ++loaded;
  }
  return loaded;
}

}  // namespace tarvelis::server
