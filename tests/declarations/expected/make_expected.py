#!/usr/bin/env python3
"""Writes the expected e-filing files of the FIXT company (year_fixture.h) from
field values worked out by hand from its rows. The dBASE files are written by
this script's own small dBASE III writer, independent of the program's.

Run it from this folder when the layouts or the fixture change, then check the
difference of every file by eye before committing."""
import re

TODAY = (2003, 1, 15)  # the date the tests give the dBASE headers


def line(fields):
    return ",".join(fields)


def write_txt(path, lines):
    with open(path, "wb") as out:
        out.write(b"".join(l.encode("cp1250") + b"\r\n" for l in lines))


def fields_of(spec):
    result = []
    for name, kind, width, decimals in re.findall(r"(\w+) ([CNDL])(?:\((\d+)(?:,(\d+))?\))?", spec):
        if kind == "D":
            width, decimals = 8, 0
        else:
            width, decimals = int(width or 10), int(decimals or 0)
        result.append((name.upper(), kind, width, decimals))
    return result


def write_dbf(path, spec, records):
    fields = fields_of(spec)
    header = bytes([3, TODAY[0] % 100, TODAY[1], TODAY[2]])
    header += len(records).to_bytes(4, "little")
    header += (32 * len(fields) + 33).to_bytes(2, "little")
    header += (1 + sum(f[2] for f in fields)).to_bytes(2, "little") + bytes(20)
    offset = 1
    for name, kind, width, decimals in fields:
        header += name.encode("ascii")[:11].ljust(11, b"\0") + kind.encode("ascii")
        header += offset.to_bytes(2, "little") + bytes(2) + bytes([width, decimals]) + bytes(14)
        offset += width
    header += b"\r"
    body = b""
    for record in records:
        body += b" "
        for name, kind, width, decimals in fields:
            value = record.get(name)
            if value is None:
                text = " " * width
            elif kind == "C":
                text = value[:width].ljust(width)
            elif kind == "N":
                text = ("%.*f" % (decimals, value)).rjust(width)
            else:
                text = value
            assert len(text) == width, (name, text)
            body += text.encode("cp1250")
    with open(path, "wb") as out:
        out.write(header + body + b"\x1a")


def specs():
    text = open("../../../src/declarations/efiling_table_fields.h").read()
    found = {}
    for name, body in re.findall(r"(k\w+DbfSpec) =\n((?:\s*\"[^\"]*\"\n?)+);", text):
        found[name] = "".join(re.findall(r"\"([^\"]*)\"", body))
    return found


STEFANESCU = "\u015eTEF\u0102NESCU"  # the code page's S with cedilla for S with comma below

# ---- 2002: text ----
write_txt("2002/Rep_2002.txt", [
    "1234567,1,#FIXTURA TEST SRL#,##,##,#BUCURESTI#,#B#,#LUNGA#,#5#,70000,##,##,##,##,3,"
    "#021-3334455#,#Office@Fixt.ro#"])

popescu = ["1700101400011", "#POPESCU#", "#ION#", "#BUCURESTI#", "#B#", "#FLORILOR#", "#12#",
           "71234", "#A1#", "#2#", "#3#", "#14#", "2",
           "##", "#X#", "##", "##", "##", "##", "##", "", ""]
popescu += ["1.5"] * 5 + ["2"] * 7          # CoefInd
popescu += ["1"] * 12                       # CoefInd less the dependants
for m in range(1, 13):                      # July without the bonus: 4,830,000 - 830,000
    popescu += ["4000000", "261000" if m <= 5 else "108000"]
popescu += ["930000", "167400",             # the bonus base and its tax
            "48930000", "2228400",          # the year, bonus included
            "12", "2400000",
            "3060000", "48270000",          # 48,000,000 + 930,000 - 3,060,000 + 2,400,000
            "36550000", "11720000",         # 21.5 x 1,700,000; 48,270,000 - 36,550,000
            "2109600", "0", "118800",       # 18 % of 11,720,000; 2,228,400 withheld
            "", "", ""]
stefanescu = ["2750315123450", "#" + STEFANESCU + "#", "#MARIA#", "#CLUJ-NAPOCA#", "#CJ#",
              "#MARE#", "#7A#", "0", "##", "##", "##", "##", "0",
              "#X#", "##", "##", "##", "#X#", "#X#", "##", "10/03/2002", ""]
stefanescu += ["", ""] + ["2"] * 4 + ["1.5"] * 6
stefanescu += ["", ""] + ["2"] * 4 + ["1.5"] * 6
stefanescu += ["0", "0", "0", "0", "1500000", "0"]
stefanescu += ["5000000", "288000"] * 3 + ["5000000", "441000"] * 6
stefanescu += ["0", "0", "46500000", "3510000", "10", "2000000"] + ["0"] * 10
assert len(popescu) == 86 and len(stefanescu) == 86
write_txt("2002/FF1_2002.txt", [line(popescu), line(stefanescu)])

vasile = ["1801012222221", "#VASILE#", "#DAN#", "#IASI#", "#IS#", "#PACII#", "#3#", "70010",
          "##", "##", "##", "##", "0", "##",
          "##", "##", "##", "#X#", "##", "##", "##", "##"]
vasile += ["1000000", "150000"] * 11 + ["0", "0"] + ["11000000", "1650000"]
assert len(vasile) == 48
write_txt("2002/FF2_2002.txt", [line(vasile)])

spouse = ["1700101400011", "2720202400022", "#Popescu#", "#Elena#",
          "#X#", "##", "##", "##", "##", "##"] + ["0.5"] * 12
child = ["1700101400011", "5020601400033", "#Popescu#", "#Andrei#",
         "##", "#X#", "##", "##", "##", "##"] + [""] * 5 + ["0.5"] * 7
write_txt("2002/Ded_2002.txt", [line(spouse), line(child)])

# ---- 2002: dBASE ----
SPECS = specs()
write_dbf("2002/REP_2002.DBF", SPECS["kRepDbfSpec"], [{
    "COD_ANG": 1234567, "TIP_ANG": 1, "DENUMIRE": "FIXTURA TEST SRL",
    "LOCALITATE": "BUCURESTI", "JUDET": "B", "STRADA": "LUNGA", "NR": "5", "COD_POSTAL": 70000,
    "BLOC": "", "SCARA": "", "ETAJ": "", "AP": "", "SECTOR": 3,
    "TELEFON": "021-3334455", "EMAIL": "OFFICE@FIXT.RO"}])


def months(record, prefix, values):
    for m, value in enumerate(values, 1):
        record["%s_%02d" % (prefix, m)] = value


p = {"CNP_ANG": 1700101400011, "NUME": "POPESCU", "PRENUME": "ION", "LOCALITATE": "BUCURESTI",
     "JUDET": "B", "STRADA": "FLORILOR", "NR": "12", "COD_POSTAL": 71234, "BLOC": "A1",
     "SCARA": "2", "ETAJ": "3", "AP": "14", "SECTOR": 2, "REGULARIZ": "X"}
months(p, "COEF_T", [1.5] * 5 + [2] * 7)
months(p, "COEF_P", [1] * 12)
months(p, "VENIT", [4000000] * 12)
months(p, "IMPOZIT", [261000] * 5 + [108000] * 7)
p.update({"VENIT_13": 930000, "IMPOZIT_13": 167400, "VENIT_14": 48930000,
          "IMPOZIT_14": 2228400, "NR_LUNI": 12, "CH_ACORD": 2400000, "CH_CUVEN": 3060000,
          "VENIT_REC": 48270000, "DEDUCERI": 36550000, "VENIT_BAZA": 11720000,
          "IMP_ANUAL": 2109600, "DIF_PLATA": 0, "DIF_RESTIT": 118800,
          "VENIT_FIN": 0, "IMP_FIN": 0, "VENIT_SCUT": 0})
s = {"CNP_ANG": 2750315123450, "NUME": STEFANESCU, "PRENUME": "MARIA",
     "LOCALITATE": "CLUJ-NAPOCA", "JUDET": "CJ", "STRADA": "MARE", "NR": "7A",
     "BLOC": "", "SCARA": "", "ETAJ": "", "AP": "",
     "RECTIFIC": "X", "INVALID_I": "X", "INVALID_II": "X", "DATA_ANGAJ": "20020310"}
months(s, "COEF_T", [0, 0] + [2] * 4 + [1.5] * 6)
months(s, "COEF_P", [0, 0] + [2] * 4 + [1.5] * 6)
months(s, "VENIT", [0, 0, 1500000] + [5000000] * 9)
months(s, "IMPOZIT", [0, 0, 0] + [288000] * 3 + [441000] * 6)
s.update({"VENIT_13": 0, "IMPOZIT_13": 0, "VENIT_14": 46500000, "IMPOZIT_14": 3510000,
          "NR_LUNI": 10, "CH_ACORD": 2000000})
write_dbf("2002/FF1_2002.DBF", SPECS["kFf1DbfSpec"], [p, s])

v = {"CNP_ANG": 1801012222221, "NUME": "VASILE", "PRENUME": "DAN", "LOCALITATE": "IASI",
     "JUDET": "IS", "STRADA": "PACII", "NR": "3", "COD_POSTAL": 70010,
     "BLOC": "", "SCARA": "", "ETAJ": "", "AP": "", "AS4": "X",
     "VENIT_13": 11000000, "IMPOZIT_13": 1650000}
months(v, "VENIT", [1000000] * 11 + [0])
months(v, "IMPOZIT", [150000] * 11 + [0])
write_dbf("2002/FF2_2002.DBF", SPECS["kFf2DbfSpec"], [v])

e = {"CNP_ANG": 1700101400011, "CNP_PERS": 2720202400022, "NUME": "Popescu",
     "PRENUME": "Elena", "SOT": "X"}
months(e, "COEF", [0.5] * 12)
a = {"CNP_ANG": 1700101400011, "CNP_PERS": 5020601400033, "NUME": "Popescu",
     "PRENUME": "Andrei", "COPIL": "X"}
months(a, "COEF", [0] * 5 + [0.5] * 7)
write_dbf("2002/DED_2002.DBF", SPECS["kDedDbfSpec"], [e, a])

# ---- 2001: text only ----
write_txt("2001/RepFisc.txt", [
    "1234567,#X#,##,#FIXTURA TEST SRL#,##,##,#BUCURESTI#,#B#,#LUNGA#,#5#,70000,##,##,##,##,3,"])

old_popescu = ["1700101400011", "#POPESCU#", "#ION#", "#BUCURESTI#", "#B#", "#FLORILOR#",
               "#12#", "71234", "#A1#", "#2#", "#3#", "#14#", "2",
               "#X#", "##", "", ""]
old_popescu += ["1.5"] * 5 + ["2"] * 7 + ["##", "##"] + [""] * 12
for m in range(1, 13):
    if m <= 5:
        old_popescu += ["4000000", "1700000", "850000", "1450000", "261000"]
    elif m == 7:
        old_popescu += ["4830000", "1700000", "1700000", "600000", "275400"]
    else:
        old_popescu += ["4000000", "1700000", "1700000", "600000", "108000"]
old_popescu += [""] * 5 + ["48830000", "20400000", "16150000", "11450000", "2228400"]
old_popescu += ["2061000", "2228400", "0", "167400", "", ""]  # 18 % of 11,450,000
old_stefanescu = ["2750315123450", "#" + STEFANESCU + "#", "#MARIA#", "#CLUJ-NAPOCA#", "#CJ#",
                  "#MARE#", "#7A#", "", "##", "##", "##", "##", "",
                  "##", "##", "10/03/2001", ""]
old_stefanescu += ["", ""] + ["2"] * 4 + ["1.5"] * 6 + ["##", "#X#"]
old_stefanescu += ["", ""] + ["1"] * 4 + ["0.5"] * 6  # InvalidI, then InvalidII
for m in range(1, 13):
    if m <= 2:
        old_stefanescu += ["0"] * 5
    elif m == 3:  # deductions capped at the net of 1,500,000
        old_stefanescu += ["1500000", "1500000", "0", "0", "0"]
    elif m <= 6:
        old_stefanescu += ["5000000", "1700000", "1700000", "1600000", "288000"]
    else:
        old_stefanescu += ["5000000", "1700000", "850000", "2450000", "441000"]
old_stefanescu += [""] * 5 + ["46500000", "16800000", "10200000", "19500000", "3510000"]
old_stefanescu += [""] * 6
write_txt("2001/FF1.txt", [line(old_popescu), line(old_stefanescu)])

old_vasile = ["1801012222221", "#VASILE#", "#DAN#", "#IASI#", "#IS#", "#PACII#", "#3#",
              "70010", "##", "##", "##", "##", "",
              "", "30/11/2001", "##", "##", "##", "#X#", "##", "##", "##"]
old_vasile += ["1000000", "150000"] * 11 + ["0", "0"] + ["11000000", "1650000"]
write_txt("2001/FF2.txt", [line(old_vasile)])

write_txt("2001/Deduceri.txt", [
    line(["1700101400011", "2720202400022", "#Popescu#", "#Elena#",
          "#X#", "##", "##", "##", "##"] + ["0.5"] * 12),
    line(["1700101400011", "5020601400033", "#Popescu#", "#Andrei#",
          "##", "#X#", "##", "##", "##"] + ["0"] * 5 + ["0.5"] * 7)])
