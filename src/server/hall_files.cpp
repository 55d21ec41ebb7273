// The tables' files: which table is written when, the outcome of each
// write, and the tables read back at start.
#include <system_error>

#include "server/hall.h"
#include "storage/file_access.h"
#include "storage/state_file.h"

namespace tarvelis::server {
namespace {

namespace fs = std::filesystem;

constexpr const char* kFileSuffix = ".table";
constexpr const char* kDamagedFolder = "damaged";
// A table file is a state file and a few lines about its seats.
constexpr std::uintmax_t kMaxTableFileBytes = kMaxStateFileBytes + 4096;
// A table file that could not be written is tried again after this long.
constexpr std::int64_t kRetryMs = 1000;

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
    auto table = ServerTable::FromFileText(file.Bytes, SystemSource()(), options_.Timers, now,
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
    // A public table is listed in the room again, its wait to fill begun anew.
    place.Public = place.Table->Public();
    place.MadeAt = now;
    Publish(tables_.emplace(code, std::move(place)).first->second);
    ++loaded;
  }
  return loaded;
}

}  // namespace tarvelis::server
