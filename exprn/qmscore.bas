10 rem qmscore.bas: Quillomar's score script, run once after every game.
20 rem The game first sets linecnt(0..3) (clears of 1, 2, 3 and 4 rows), totalline, wait,
30 rem level, lv1_norma, lv1_speed, lv2_block, lv2_norma, lv2_upline, blockfreq,
40 rem guide_shadow, guide_stripe and stripe_intensity.  This script keeps the ten best
50 rem games in qmscore.txt (score,date,time,lines,level) and one line per game in qmscore.log.
60 rem Try it outside the game:  qmbasic linecnt(0)=10 linecnt(3)=2 totalline=18 qmscore.bas
100 rem Score: bigger clears are worth more, and the harder levels multiply it.
110 score = (linecnt(0) + 3 * linecnt(1) + 6 * linecnt(2) + 10 * linecnt(3)) * 100 * (level + 1)
120 d$ = date$ : t$ = time$
200 rem Read the table; opening for append first makes sure the file exists.
210 dim sc(10), sd$(10), st$(10), sl(10), lv(10)
220 open "qmscore.txt" for append as #1 : close #1
230 open "qmscore.txt" for input as #1
240 n = 0
250 if eof(1) or n >= 10 then 280
260 input #1, sc(n), sd$(n), st$(n), sl(n), lv(n)
270 n = n + 1 : goto 250
280 close #1
300 rem Find the new game's place: after every game with at least its score.
310 p = n
320 for i = 0 to n - 1
330 if p = n and score > sc(i) then p = i
340 next i
350 if p >= 10 then 500
360 last = n : if last > 9 then last = 9
370 for i = last to p + 1 step -1
380 sc(i) = sc(i - 1) : sd$(i) = sd$(i - 1) : st$(i) = st$(i - 1)
390 sl(i) = sl(i - 1) : lv(i) = lv(i - 1)
400 next i
410 sc(p) = score : sd$(p) = d$ : st$(p) = t$ : sl(p) = totalline : lv(p) = level
420 if n < 10 then n = n + 1
430 open "qmscore.txt" for output as #1
440 for i = 0 to n - 1
450 print #1, sc(i); ","; sd$(i); ","; st$(i); ","; sl(i); ","; lv(i)
460 next i
470 close #1
500 rem One line per game in the log.
510 open "qmscore.log" for append as #2
520 print #2, d$; " "; t$; " score="; score; " lines="; totalline;
530 print #2, " clears="; linecnt(0); "/"; linecnt(1); "/"; linecnt(2); "/"; linecnt(3);
540 print #2, " level="; level; " wait="; wait; " lv1_norma="; lv1_norma;
550 print #2, " lv1_speed="; lv1_speed; " lv2_block="; lv2_block; " lv2_norma="; lv2_norma;
560 print #2, " lv2_upline="; lv2_upline; " blockfreq="; blockfreq;
570 print #2, " guide_shadow="; guide_shadow; " guide_stripe="; guide_stripe;
580 print #2, " stripe_intensity="; stripe_intensity
590 close #2
600 end
