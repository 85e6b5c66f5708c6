// Helpers of the interpreter tests: running BASIC source in a session with its print output
// captured, and a scratch directory that is the current directory while it lives (scripts name
// their files relative to it, as in the game).
#pragma once

#include <stdio.h>

#include <string>

#include "exprn.h"

#ifdef _WIN32
#include <direct.h>
#define chdir _chdir
#define getcwd _getcwd
#define rmdir _rmdir
#define MakeDirectory(path) _mkdir(path)
#else
#include <sys/stat.h>
#include <unistd.h>
#define MakeDirectory(path) mkdir(path, 0755)
#endif

inline void CaptureOutput(const char *text, size_t length, void *user) {
  static_cast<std::string *>(user)->append(text, length);
}

// Loads and runs `source` in `session`; returns the load or run code.  *line gets the line of
// the failure.
inline int RunIn(BasicSession *session, const std::string &source, int *line = nullptr) {
  int code, loadLine;
  BasicProgram *program = LoadBasicText(source.data(), source.size(), &code, &loadLine);
  if (line) *line = loadLine;
  if (!program) return code;
  code = RunBasicProgram(session, program);
  if (line) *line = BasicErrorLine(session);
  FreeBasicProgram(program);
  return code;
}

// Runs `source` in a fresh session and returns its code; print output goes to *output.
inline int RunSource(const std::string &source, std::string *output = nullptr,
                     int *line = nullptr) {
  std::string ignored;
  BasicSession *session = CreateBasicSession();
  SetBasicOutput(session, CaptureOutput, output ? output : &ignored);
  int code = RunIn(session, source, line);
  DestroyBasicSession(session);
  return code;
}

// The file's text with line ends as LF (Windows writes text files with CR LF).
inline std::string ReadText(const char *path) {
  std::string text;
  if (FILE *file = fopen(path, "rb")) {
    int c;
    while ((c = fgetc(file)) != EOF)
      if (c != '\r') text += (char)c;
    fclose(file);
  }
  return text;
}

inline void WriteText(const char *path, const std::string &text) {
  if (FILE *file = fopen(path, "wb")) {
    fwrite(text.data(), 1, text.size(), file);
    fclose(file);
  }
}

// A fresh directory "exprn_<name>", made the current directory; the files named in `files`
// are removed with it at the end.
struct ScratchDirectory {
  std::string dir, previous;
  explicit ScratchDirectory(const char *name) : dir(std::string("exprn_") + name) {
    char cwd[1024];
    previous = getcwd(cwd, sizeof cwd) ? cwd : ".";
    MakeDirectory(dir.c_str());
    if (chdir(dir.c_str()) != 0) dir.clear();
  }
  ~ScratchDirectory() {
    static const char *const kFiles[] = {"a.txt",       "b.txt",       "c.txt",
                                         "qmscore.bas", "qmscore.txt", "qmscore.log"};
    for (const char *file : kFiles) remove(file);
    if (chdir(previous.c_str()) == 0 && !dir.empty()) rmdir(dir.c_str());
  }
};
