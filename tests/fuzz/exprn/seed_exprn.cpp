// Writes the interpreter's seed corpora: expressions, the game's prologue and the shipped
// score script, and a program that uses every statement.
//   seed_exprn DIR    -> DIR/fuzz_expression/*, DIR/fuzz_basic/*
#include <stdio.h>
#include <sys/stat.h>

#include <string>

namespace {

bool Write(const std::string &path, const std::string &text) {
  FILE *file = fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = fwrite(text.data(), 1, text.size(), file) == text.size();
  return fclose(file) == 0 && ok;
}

std::string Read(const char *path) {
  std::string text;
  if (FILE *file = fopen(path, "rb")) {
    int c;
    while ((c = fgetc(file)) != EOF) text += (char)c;
    fclose(file);
  }
  return text;
}

const char *const kExpressions[] = {
    "1+2*3",
    "(1.5e3-2)/4 mod 7",
    "-2^-2^0.5",
    "sqr(abs(-16))+int(2.7)%3",
    "sin(pi/2)*cos(0)+tan(0.1)-atn(1)+log(exp(1))",
    "len(mid$(\"abcdef\",2,3)+chr$(65))",
    "not 1<2 or 3>=3 and 2<>2",
    "val(str$(12.5))+asc(left$(right$(\"xyz\",2),1))",
};

const char kStatements[] =
    "10 dim a(5), b$(3) : let x = 1 : y$ = \"s\"\n"
    "20 for i = 0 to 5 step 2 : a(i) = i * i : next i\n"
    "30 if x > 0 then gosub 100 else goto 200\n"
    "40 open \"f.txt\" for output as #1 : print #1, x; \",\"; y$ : close #1\n"
    "50 open \"f.txt\" for input as #1 : input #1, x, y$ : line input #1, z$ : close\n"
    "60 if eof(1) then 70\n"
    "70 kill \"f.txt\" : name \"f.txt\" as \"g.txt\"\n"
    "80 print date$; time$; a(2), b$(1); : end\n"
    "100 print \"sub\" : return\n"
    "200 stop\n";

// Names that reach for other places and for devices, and text that grows.
const char kHostile[] =
    "10 open \"../up.txt\" for output as #1\n"
    "20 open \"sub/x.txt\" for append as #2 : open \"com1:\" for input as #3\n"
    "30 open \"nul.txt:\" for output as #4 : open \"a.txt:s\" for output as #5\n"
    "40 name \"a.txt\" as \"../b.txt\" : kill \"/tmp/x\" : open \"con\" for input as #6\n"
    "50 a$ = \"x\" : for i = 1 to 14 : a$ = a$ + a$ : next : print a$; a$; a$\n"
    "60 open \"big.txt\" for append as #7 : print #7, a$ : goto 60\n";

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: seed_exprn DIR\n");
    return 2;
  }
  std::string dir = argv[1];
  std::string expressions = dir + "/fuzz_expression", basic = dir + "/fuzz_basic";
  mkdir(expressions.c_str(), 0755);
  mkdir(basic.c_str(), 0755);
  bool ok = true;
  int n = 0;
  for (const char *expression : kExpressions)
    ok = Write(expressions + "/seed" + std::to_string(n++), expression) && ok;
  std::string script = Read(QM_SCORE_SCRIPT);
  ok = !script.empty() && ok;
  ok = Write(basic + "/qmscore", script) && ok;
  ok = Write(basic + "/statements", kStatements) && ok;
  ok = Write(basic + "/hostile", kHostile) && ok;
  ok = Write(basic + "/prologue",
             "\t\t1000 dim linecnt(4)\n\t\t1010 linecnt(0) = 12\n\t\t1050 totalline =  18\n"
             "\t\t1130 blockfreq = 4294967295\n\t\t1160 stripe_intensity = 128\n") &&
       ok;
  return ok ? 0 : 1;
}
