#include "server/hall.h"

#include <algorithm>
#include <system_error>

#include "server/move_pool.h"
#include "storage/file_access.h"
#include "storage/state_file.h"

namespace tarvelis::server {
namespace {

namespace fs = std::filesystem;

constexpr const char* kFileSuffix = ".table";
constexpr const char* kDamagedFolder = "damaged";
// A table file is a state file and a few lines about its seats.
constexpr std::uintmax_t kMaxTableFileBytes = kMaxStateFileBytes + 4096;
// An address's record outlives its last connection by this much: its
// buckets, refilled per minute, are full again by then.
constexpr std::int64_t kVisitorMemoryMs = 60000;
// The idle connections and the tables nobody plays are looked for this often.
constexpr std::int64_t kSweepMs = 1000;
// A table file that could not be written is tried again after this long.
constexpr std::int64_t kRetryMs = 1000;

std::uint32_t FreshSeed() {
  return SystemSource()();
}

FloodGate PerMinute(int count) {
  return FloodGate(static_cast<double>(count) / 60.0, static_cast<double>(count));
}

// Moves a table file the hall cannot read into damaged/, for its owner to
// look at; false when even that fails (it is then left where it is).
bool MoveAside(const fs::path& file) {
  std::error_code ec;
  const fs::path aside = file.parent_path() / kDamagedFolder;
  fs::create_directories(aside, ec);
  fs::rename(file, aside / file.filename(), ec);
  return !ec;
}

}  // namespace

ServerTable* Hall::Find(std::string_view code) {
  const auto it = tables_.find(code);
  return it == tables_.end() ? nullptr : it->second.Table.get();
}

HallCounts Hall::Counts() const {
  HallCounts counts = counts_;
  counts.Tables = tables_.size();
  counts.Connections = conns_.size();
  counts.Addresses = visitors_.size();
  return counts;
}

bool Hall::Opened(int conn, std::int64_t now, std::string address) {
  if (!address.empty()) {
    Visitor& v = visitors_
                     .try_emplace(address, Visitor{0, PerMinute(options_.TablesPerMinute),
                                                   PerMinute(options_.FailedLookupsPerMinute), now})
                     .first->second;
    v.SeenAt = now;
    if (v.Open >= options_.MaxConnectionsPerAddress) {
      ++counts_.Refused;
      return false;
    }
    ++v.Open;
  }
  Conn c;
  c.Gate = FloodGate(options_.MessagesPerSecond, options_.MessageBurst);
  c.Address = std::move(address);
  c.HeardAt = now;
  conns_.insert_or_assign(conn, std::move(c));
  return true;
}

Hall::Visitor* Hall::VisitorOf(const Conn& c) {
  if (c.Address.empty()) return nullptr;
  const auto it = visitors_.find(c.Address);
  return it == visitors_.end() ? nullptr : &it->second;
}

void Hall::Error(int conn, ErrorCode code) {
  sends_.emplace_back(conn, Json::Object()
                                .Set("v", kProtocolVersion)
                                .Set("type", "error")
                                .Set("error", ErrorName(code))
                                .Set("text", ErrorText(code))
                                .Dump());
}

void Hall::Post(Place& place, int conn, std::string text) {
  if (place.Holding) {
    place.Held.emplace_back(conn, std::move(text));
  } else {
    sends_.emplace_back(conn, std::move(text));
  }
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
  // The news of a closed hand goes out once the table's file is past it.
  if (place.Table->TakeHandClosed() && !options_.Folder.empty()) {
    if (!place.Urgent) urgent_.push_back(place.Table->Code());
    place.Urgent = true;
    place.Holding = true;
  }
  for (Outgoing& out : place.Table->TakeOutbox()) {
    const int conn = place.Conn[out.Seat];
    if (conn != 0) Post(place, conn, std::move(out.Text));
  }
  if (place.Table->Finished() && !place.Recorded) RecordMatch(place);
}

bool Hall::Bound(const Place& place) const {
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (place.Conn[seat] != 0) return true;
  }
  return false;
}

void Hall::Bind(Place& place, int conn, int seat, std::int64_t now) {
  const int old = place.Conn[seat];
  // The seat's secret came from another connection: the one it replaces is
  // told why, and let go.
  if (old != 0 && old != conn) {
    if (auto it = conns_.find(old); it != conns_.end()) {
      it->second.Code.clear();
      it->second.Seat = 0;
      Error(old, ErrorCode::kTakenOver);
      closes_.push_back(old);
    }
  }
  place.Conn[seat] = conn;
  place.SeatedAt = now;
  Conn& c = conns_[conn];
  c.Code = place.Table->Code();
  c.Seat = seat;
  // A connection that has not entered the room leaves the seat's person as
  // it was: the same person back without the room, or nobody rated.
  if (!c.KeyHash.empty()) place.Table->SetKeyHash(seat, c.KeyHash);
}

void Hall::Closed(int conn, std::int64_t now) {
  const auto it = conns_.find(conn);
  if (it == conns_.end()) return;
  const Conn c = std::move(it->second);
  conns_.erase(it);
  if (Visitor* v = VisitorOf(c); v != nullptr) {
    v->Open = std::max(0, v->Open - 1);
    v->SeenAt = now;
  }
  if (c.Seat == 0) return;
  const auto place = tables_.find(c.Code);
  if (place == tables_.end() || place->second.Conn[c.Seat] != conn) return;
  place->second.Conn[c.Seat] = 0;
  place->second.SeatedAt = now;
  place->second.Table->Dropped(c.Seat, now);
  Deliver(place->second);
}

void Hall::Received(int conn, std::string_view text, std::int64_t now) {
  const auto it = conns_.find(conn);
  if (it == conns_.end()) return;
  Conn& c = it->second;
  // One refusal tells a client it is too fast; answering every message of
  // a flood would only make the server the one flooding.
  if (!c.Gate.Admit(now)) {
    if (!c.Warned) Error(conn, ErrorCode::kTooFast);
    c.Warned = true;
    return;
  }
  c.Warned = false;
  const ReadOutcome read = ReadRequest(text);
  if (!read.Ok) {
    Error(conn, read.Error);
    return;
  }
  c.HeardAt = now;
  const Request& r = read.Value;
  switch (r.Type) {
    case RequestType::kCreate:
      OnCreate(conn, c, r, now);
      break;
    case RequestType::kJoin:
      OnJoin(conn, c, r, now);
      break;
    case RequestType::kResume:
      OnResume(conn, c, r, now);
      break;
    case RequestType::kLook:
      OnLook(conn, c, r, now);
      break;
    case RequestType::kLeaderboard:
      OnLeaderboard(conn, r);
      break;
    case RequestType::kPlayer:
      OnPlayer(conn, c);
      break;
    case RequestType::kStart:
    case RequestType::kMove:
    case RequestType::kLeave:
      OnSeated(conn, c, r, now);
      break;
  }
}

void Hall::OnCreate(int conn, Conn& c, const Request& r, std::int64_t now) {
  if (Visitor* v = VisitorOf(c); v != nullptr && !v->Creates.Admit(now)) {
    Error(conn, ErrorCode::kTooFast);
    return;
  }
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
  place.SeatedAt = now;
  tables_.emplace(code, std::move(place));
  sends_.emplace_back(
      conn,
      Json::Object().Set("v", kProtocolVersion).Set("type", "created").Set("code", code).Dump());
}

bool Hall::MayLookUp(const Conn& c, std::int64_t now) {
  Visitor* v = VisitorOf(c);
  return v == nullptr || v->Lookups.Ready(now);
}

void Hall::LookupFailed(int conn, const Conn& c, std::int64_t now) {
  ++counts_.FailedLookups;
  if (Visitor* v = VisitorOf(c); v != nullptr) v->Lookups.Admit(now);
  // A wrong code and a wrong secret get the same answer: a guess of a
  // secret never tells that its code was right.
  Error(conn, ErrorCode::kNoTable);
}

bool Hall::MaySit(int conn, const Conn& c, std::int64_t now) {
  if (c.Seat != 0) {
    Error(conn, ErrorCode::kBadMessage);
    return false;
  }
  if (!MayLookUp(c, now)) {
    Error(conn, ErrorCode::kTooFast);
    return false;
  }
  return true;
}

void Hall::OnJoin(int conn, Conn& c, const Request& r, std::int64_t now) {
  if (!MaySit(conn, c, now)) return;
  const auto found = tables_.find(r.Code);
  if (found == tables_.end()) {
    LookupFailed(conn, c, now);
    return;
  }
  Place& place = found->second;
  const std::string token = NewToken();
  ErrorCode error = ErrorCode::kBadMessage;
  if (!place.Table->Join(r.Seat, r.Name, token, error)) {
    Error(conn, error);
    return;
  }
  Bind(place, conn, r.Seat, now);
  Seated(conn, place, r.Seat, token);
}

void Hall::OnResume(int conn, Conn& c, const Request& r, std::int64_t now) {
  if (!MaySit(conn, c, now)) return;
  const auto found = tables_.find(r.Code);
  const int seat = found == tables_.end() ? 0 : found->second.Table->SeatOfToken(r.Token);
  if (seat == 0) {
    LookupFailed(conn, c, now);
    return;
  }
  Place& place = found->second;
  Bind(place, conn, seat, now);
  place.Table->Arrived(seat, now);
  Seated(conn, place, seat, r.Token);
}

void Hall::Seated(int conn, Place& place, int seat, const std::string& token) {
  ServerTable& table = *place.Table;
  Post(place, conn,
       Json::Object()
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
    if (out.Seat != seat && to != 0) Post(place, to, std::move(out.Text));
  }
  Post(place, conn, table.ViewFor(seat));
  if (std::string q = table.QuestionFor(seat); !q.empty()) Post(place, conn, std::move(q));
}

void Hall::OnSeated(int conn, Conn& c, const Request& r, std::int64_t now) {
  const auto found = c.Seat == 0 ? tables_.end() : tables_.find(c.Code);
  if (found == tables_.end()) {
    Error(conn, ErrorCode::kNotSeated);
    return;
  }
  Place& place = found->second;
  ServerTable& table = *place.Table;
  ErrorCode error = ErrorCode::kBadMessage;
  bool ok = true;
  if (r.Type == RequestType::kStart) {
    ok = table.Start(error, now);
  } else if (r.Type == RequestType::kMove) {
    ok = table.Answer(c.Seat, r, error, now);
  } else {
    place.Conn[c.Seat] = 0;
    place.SeatedAt = now;
    table.Left(c.Seat, now);
    c.Seat = 0;
    c.Code.clear();
  }
  if (!ok) Error(conn, error);
  Deliver(place);
  // A table whose people all left before it started is nobody's any more.
  if (r.Type == RequestType::kLeave && !table.Started() && !Bound(place)) {
    ++counts_.Expired;
    Drop(found);
  }
}

Hall::Tables::iterator Hall::Drop(Tables::iterator it) {
  if (!options_.Folder.empty()) removals_.push_back({it->first, FileOf(it->first), {}});
  return tables_.erase(it);
}

void Hall::Tick(std::int64_t now) {
  for (auto& [code, place] : tables_) {
    const std::int64_t due = place.Table->NextDeadline();
    if (due >= 0 && due <= now && place.Table->Tick(now)) Deliver(place);
  }
  if (now - sweptAt_ < kSweepMs) return;
  sweptAt_ = now;
  std::vector<int> idle;
  for (const auto& [conn, c] : conns_) {
    if (c.Seat == 0 && now - c.HeardAt >= options_.UnseatedIdleMs) idle.push_back(conn);
  }
  for (const int conn : idle) {
    closes_.push_back(conn);
    Closed(conn, now);
  }
  for (auto it = tables_.begin(); it != tables_.end();) {
    Place& place = it->second;
    if (Bound(place)) place.SeatedAt = now;
    if (!place.Table->Started() && now - place.SeatedAt >= options_.UnstartedTableMs) {
      ++counts_.Expired;
      it = Drop(it);
    } else {
      ++it;
    }
  }
  std::erase_if(visitors_, [now](const auto& entry) {
    return entry.second.Open == 0 && now - entry.second.SeenAt >= kVisitorMemoryMs;
  });
}

fs::path Hall::FileOf(const std::string& code) const {
  // The code is the server's own making (IsCodeText), never a client's text.
  return options_.Folder / (code + kFileSuffix);
}

std::optional<Hall::FileJob> Hall::JobFor(Place& place, std::int64_t now) {
  ServerTable& table = *place.Table;
  if (options_.Folder.empty() || place.InFlight) return std::nullopt;
  const bool retryDue = now - place.WrittenAt >= kRetryMs;
  const bool due = place.Urgent ? !place.Retry || retryDue
                   : place.Retry
                       ? retryDue
                       : table.Dirty() && !table.Finished() &&
                             (!place.Written || now - place.WrittenAt >= options_.FileSpacingMs);
  if (!due) return std::nullopt;
  place.UrgentTaken = place.Urgent;
  place.Urgent = false;
  place.InFlight = true;
  place.WrittenAt = now;
  return FileJob{table.Code(), FileOf(table.Code()), table.FileText()};
}

std::vector<Hall::FileJob> Hall::TakeUrgentFileJobs(std::int64_t now) {
  std::vector<FileJob> jobs = std::exchange(removals_, {});
  for (auto it = retries_.begin(); it != retries_.end();) {
    // A table made again under the code since has its own file now.
    if (tables_.count(it->second.Code) != 0) {
      it = retries_.erase(it);
    } else if (now - it->first >= kRetryMs) {
      jobs.push_back(std::move(it->second));
      it = retries_.erase(it);
    } else {
      ++it;
    }
  }
  std::vector<std::string> later;
  for (const std::string& code : std::exchange(urgent_, {})) {
    const auto it = tables_.find(code);
    if (it == tables_.end() || !it->second.Urgent) continue;
    if (auto job = JobFor(it->second, now)) {
      jobs.push_back(std::move(*job));
    } else {
      later.push_back(code);
    }
  }
  urgent_ = std::move(later);
  return jobs;
}

std::vector<Hall::FileJob> Hall::TakeFileJobs(std::size_t most, std::int64_t now) {
  std::vector<FileJob> jobs = TakeUrgentFileJobs(now);
  auto it = tables_.lower_bound(saveFrom_);
  for (std::size_t seen = 0, total = tables_.size(); seen < total && jobs.size() < most; ++seen) {
    if (it == tables_.end()) it = tables_.begin();
    Place& place = it->second;
    if (place.Table->Finished() && !Bound(place) && !place.Holding && !place.InFlight) {
      it = Drop(it);
      continue;
    }
    if (auto job = JobFor(place, now)) jobs.push_back(std::move(*job));
    ++it;
  }
  saveFrom_ = it == tables_.end() ? std::string() : it->first;
  for (FileJob& removal : std::exchange(removals_, {})) jobs.push_back(std::move(removal));
  return jobs;
}

void Hall::FileWritten(const std::string& code, bool ok, std::int64_t now) {
  const auto it = tables_.find(code);
  if (it == tables_.end()) {
    // The file of a table gone: its removal is tried again.
    if (!ok && !options_.Folder.empty()) {
      ++counts_.FailedWrites;
      retries_.emplace_back(now, FileJob{code, FileOf(code), {}});
    }
    return;
  }
  Place& place = it->second;
  place.InFlight = false;
  place.Retry = !ok;
  if (ok) {
    place.Written = true;
    if (place.UrgentTaken && place.Holding) {
      place.Holding = false;
      for (auto& send : std::exchange(place.Held, {})) sends_.push_back(std::move(send));
    }
  } else {
    ++counts_.FailedWrites;
    place.WrittenAt = now;
    if (place.UrgentTaken) {
      place.Urgent = true;
      urgent_.push_back(code);
    }
  }
  place.UrgentTaken = false;
}

bool WriteFileJob(const Hall::FileJob& job) {
  std::error_code ec;
  if (job.Text.empty()) {
    fs::remove(job.Path, ec);
    return !ec;
  }
  if (!ReplaceFile(job.Path, job.Text)) return false;
  fs::permissions(job.Path, fs::perms::owner_read | fs::perms::owner_write, ec);
  return !ec;
}

std::string PrepareFolder(const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) return "cannot make the tables' folder " + folder.string() + ": " + ec.message();
  // The files hold the seats' secrets: nobody but the server's user reads them.
  fs::permissions(folder, fs::perms::owner_all, ec);
  if (ec) return "cannot make the tables' folder private: " + ec.message();
  const fs::path probe = folder / ".written";
  if (!ReplaceFile(probe, "tarvelis\n"))
    return "cannot write in the tables' folder " + folder.string();
  fs::remove(probe, ec);
  return {};
}

int Hall::Load(std::int64_t now, std::vector<std::string>* problems) {
  if (options_.Folder.empty()) return 0;
  std::error_code ec;
  int loaded = 0;
  const auto damaged = [problems](const fs::path& path, const std::string& reason) {
    const bool moved = MoveAside(path);
    if (problems != nullptr) {
      problems->push_back(path.filename().string() + ": " + reason +
                          (moved ? "; moved into damaged/" : "; left where it is"));
    }
  };
  for (const auto& entry : fs::directory_iterator(options_.Folder, ec)) {
    const fs::path& path = entry.path();
    if (path.extension() != kFileSuffix) continue;
    const std::string code = path.stem().string();
    if (!IsCodeText(code)) {
      damaged(path, "its name is not a table's code");
      continue;
    }
    if (tables_.count(code) != 0) continue;
    std::error_code sizeError;
    if (!entry.is_regular_file() || entry.file_size(sizeError) > kMaxTableFileBytes || sizeError) {
      damaged(path, "not a regular file of a table's size");
      continue;
    }
    const FileBytes file = ReadRegularFile(path, kMaxTableFileBytes);
    if (file.ErrorNumber != 0) {
      damaged(path, "cannot be read");
      continue;
    }
    auto table = ServerTable::FromFileText(file.Bytes, FreshSeed(), options_.Timers, now,
                                           options_.Pool != nullptr);
    if (table == nullptr) {
      damaged(path, "its lines are not a table's");
      continue;
    }
    if (table->Code() != code) {
      damaged(path, "it holds another table's code");
      continue;
    }
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write, ec);
    Dispatch(*table);
    Place place;
    place.Table = std::move(table);
    place.Written = true;
    place.WrittenAt = now;
    place.SeatedAt = now;
    // A match that ended before the restart was rated then.
    place.Recorded = place.Table->Finished();
    tables_.emplace(code, std::move(place));
    ++loaded;
  }
  return loaded;
}

}  // namespace tarvelis::server
