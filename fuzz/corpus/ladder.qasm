qreg q[4];
gate ladder a, b, c, d { cx a, b; cx b, c; cx c, d; }
ladder q[0], q[1], q[2], q[3];
ladder q[3], q[2], q[1], q[0];
ladder q;
