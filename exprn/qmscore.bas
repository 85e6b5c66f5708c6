10 rem qmscore.bas: Quillomar's score script, run once after every game.
20 rem The game first sets linecnt(0..3) (clears of 1, 2, 3 and 4 rows), totalline, wait,
30 rem level, lv1_norma, lv1_speed, lv2_block, lv2_norma, lv2_upline, blockfreq,
40 rem guide_shadow, guide_stripe and stripe_intensity.  This script appends one line per
50 rem game to qmscore.log and keeps the ten best games in qmscore.txt
60 rem (score,date,time,lines,level, best first); a line of the table that is not such an
70 rem entry is dropped, so a damaged table is mended at the next game.
80 rem Try it outside the game:  qmbasic linecnt(0)=10 linecnt(3)=2 totalline=18 qmscore.bas
100 rem Score: bigger clears are worth more, and the harder levels multiply it.
110 score = (linecnt(0) + 3 * linecnt(1) + 6 * linecnt(2) + 10 * linecnt(3)) * 100 * (level + 1)
120 d$ = date$ : t$ = time$
200 rem The log line first: whatever happens to the table, the game is recorded.
210 open "qmscore.log" for append as #2
220 print #2, d$; " "; t$; " score="; score; " lines="; totalline;
230 print #2, " clears="; linecnt(0); "/"; linecnt(1); "/"; linecnt(2); "/"; linecnt(3);
240 print #2, " level="; level; " wait="; wait; " lv1_norma="; lv1_norma;
250 print #2, " lv1_speed="; lv1_speed; " lv2_block="; lv2_block; " lv2_norma="; lv2_norma;
260 print #2, " lv2_upline="; lv2_upline; " blockfreq="; blockfreq;
270 print #2, " guide_shadow="; guide_shadow; " guide_stripe="; guide_stripe;
280 print #2, " stripe_intensity="; stripe_intensity
290 close #2
300 rem Read the table line by line; opening for append first makes sure the file exists.
310 dim sc(10), sd$(10), st$(10), sl(10), lv(10), f$(5)
320 n = 0
330 open "qmscore.txt" for append as #1 : close #1
340 open "qmscore.txt" for input as #1
350 if eof(1) then 400
360 line input #1, l$
370 gosub 600
380 if ok then s = val(f$(0)) : e$ = f$(1) : g$ = f$(2) : l = val(f$(3)) : v = val(f$(4)) : gosub 800
390 goto 350
400 close #1
410 rem Then the new game, and the table written anew.
420 s = score : e$ = d$ : g$ = t$ : l = totalline : v = level : gosub 800
430 open "qmscore.txt" for output as #1
440 for i = 0 to n - 1
450 print #1, sc(i); ","; sd$(i); ","; st$(i); ","; sl(i); ","; lv(i)
460 next i
470 close #1
480 end
600 rem Splits l$ at its commas into f$(0..4); ok is 1 when there are exactly five fields
610 rem and the first, fourth and fifth are plain digits.
620 ok = 0 : k = 0 : f$(0) = ""
630 if len(l$) > 100 then return
640 for j = 1 to len(l$)
650 c$ = mid$(l$, j, 1)
660 if c$ <> "," then f$(k) = f$(k) + c$ : goto 690
670 k = k + 1 : if k > 4 then return
680 f$(k) = ""
690 next j
700 if k <> 4 then return
710 x = 0 : gosub 750 : if not ok then return
720 x = 3 : gosub 750 : if not ok then return
730 x = 4 : gosub 750 : return
750 rem ok is 1 when f$(x) is one or more digits.
760 ok = len(f$(x)) > 0
770 for q = 1 to len(f$(x))
780 c = asc(mid$(f$(x), q, 1)) : if c < 48 or c > 57 then ok = 0
790 next q : return
800 rem Puts entry s, e$, g$, l, v after every entry with at least its score; keeps ten.
810 p = n
820 for i = 0 to n - 1
830 if p = n and s > sc(i) then p = i
840 next i
850 if p >= 10 then return
860 last = n : if last > 9 then last = 9
870 for i = last to p + 1 step -1
880 sc(i) = sc(i - 1) : sd$(i) = sd$(i - 1) : st$(i) = st$(i - 1)
890 sl(i) = sl(i - 1) : lv(i) = lv(i - 1)
900 next i
910 sc(p) = s : sd$(p) = e$ : st$(p) = g$ : sl(p) = l : lv(p) = v
920 if n < 10 then n = n + 1
930 return
