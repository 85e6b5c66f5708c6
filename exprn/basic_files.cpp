#include "basic_files.h"

#include <math.h>
#include <stdio.h>

#include "basic_session.h"
#include "disk_file.h"
#include "error_codes.h"
#include "file_names.h"

namespace {

// The slot of file `number`, or null when the number is not 1..16.
BasicFile *Slot(BasicSession *session, double number) {
  double whole = trunc(number);
  if (!(whole >= 1 && whole <= kMaxFiles)) return nullptr;
  return &session->files[(int)whole - 1];
}

// The filter's verdict on `name`; a name no file could have, or a device, is refused outright.
bool Allowed(BasicSession *session, const std::string &name) {
  if (IsRefusedFileName(name)) return false;
  return !session->filter || session->filter(name.c_str(), session->filterDirectory) == 0;
}

}  // namespace

int OpenBasicFile(BasicSession *session, const std::string &name, char mode, double number) {
  BasicFile *file = Slot(session, number);
  if (!file) return kErrTooManyFiles;
  if (file->stream) return kErrAlreadyAllocated;
  if (!Allowed(session, name)) return kErrOpen;
  // Counted before it is made: a run may fill its directory with no more than newFiles files.
  bool creates = mode != 'i' && !NameExists(name.c_str());
  if (creates && session->created >= session->limits.newFiles) return kErrOpen;
  file->stream = OpenDiskFile(name.c_str(), mode);
  if (!file->stream) return kErrOpen;
  if (creates) ++session->created;
  file->forInput = mode == 'i';
  return kExprnOk;
}

int CloseBasicFile(BasicSession *session, double number) {
  BasicFile *file = Slot(session, number);
  if (!file) return kErrTooManyFiles;
  if (!file->stream) return kErrClose;
  int failed = fclose(file->stream);
  file->stream = nullptr;
  return failed ? kErrClose : kExprnOk;
}

int CloseAllBasicFiles(BasicSession *session) {
  int code = kExprnOk;
  for (int i = 0; i < kMaxFiles; ++i)
    if (session->files[i].stream && CloseBasicFile(session, i + 1)) code = kErrClose;
  return code;
}

int WriteBasicFile(BasicSession *session, double number, const std::string &text) {
  BasicFile *file = Slot(session, number);
  if (!file) return kErrTooManyFiles;
  if (!file->stream || file->forInput) return kErrWrite;
  if (session->written + text.size() > session->limits.writtenBytes) return kErrWrite;
  session->written += text.size();
  if (fwrite(text.data(), 1, text.size(), file->stream) != text.size()) return kErrWrite;
  return kExprnOk;
}

int ReadBasicField(BasicSession *session, double number, bool wholeLine, std::string *out) {
  BasicFile *file = Slot(session, number);
  if (!file) return kErrTooManyFiles;
  if (!file->stream || !file->forInput) return kErrRead;
  FILE *stream = file->stream;
  int c = fgetc(stream);
  if (!wholeLine)
    while (c == ' ' || c == '\t') c = fgetc(stream);
  if (c == EOF) return kErrRead;
  std::string field;
  bool quoted = !wholeLine && c == '"';
  if (quoted) c = fgetc(stream);
  // A field ends at a comma (not inside quotes, not for whole lines), a line end or the end.
  while (c != EOF && c != '\n' && (wholeLine || quoted || c != ',')) {
    if (quoted && c == '"') {
      quoted = false;
    } else {
      if (field.size() >= kMaxStringLength) return kErrMemory;
      field += (char)c;
    }
    c = fgetc(stream);
  }
  if (!wholeLine)
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.pop_back();
  if (!field.empty() && field.back() == '\r') field.pop_back();
  *out = field;
  return kExprnOk;
}

int BasicFileAtEnd(BasicSession *session, double number, bool *atEnd) {
  BasicFile *file = Slot(session, number);
  if (!file) return kErrTooManyFiles;
  if (!file->stream || !file->forInput) return kErrRead;
  int c = fgetc(file->stream);
  *atEnd = c == EOF;
  if (c != EOF) ungetc(c, file->stream);
  return kExprnOk;
}

int KillBasicFile(BasicSession *session, const std::string &name) {
  if (!Allowed(session, name)) return kErrOpen;
  return remove(name.c_str()) == 0 ? kExprnOk : kErrKill;
}

int RenameBasicFile(BasicSession *session, const std::string &from, const std::string &to) {
  if (!Allowed(session, from) || !Allowed(session, to)) return kErrOpen;
  // Never replace a file silently (rename would on some systems).
  if (NameExists(to.c_str())) return kErrRename;
  return rename(from.c_str(), to.c_str()) == 0 ? kExprnOk : kErrRename;
}
