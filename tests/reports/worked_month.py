#!/usr/bin/env python3
"""The figures of the worked month (tests/reports/worked_month.h), worked out
apart from the program: the same four rows and parameters, the rules of the
company totals and employer funds and of the statement's and the
recapitulation's lines written out again in decimal arithmetic. The tests
hold what this prints as literals; run it again after changing the rows.

Rows: every field is its base times the row's multiplier (ALFA x1, permanent;
BETA x2, permanent pensioner paid by piece-work; GAMA x4, partial contract
with CIAS, unemployment withheld and counted; DELTA x7, partial contract
with none of these)."""
from decimal import Decimal, ROUND_HALF_EVEN


def round_even(x):
    x = Decimal(x)
    # A tie would make the figure depend on how the program's binary
    # arithmetic lands: the bases are chosen so that none occurs.
    assert abs(x - int(x)) != Decimal("0.5"), ("tie", x)
    return int(x.quantize(Decimal(1), rounding=ROUND_HALF_EVEN))


def text(x):
    return "{:,}".format(int(x)).replace(",", " ")


BASE = dict(
    SALINC=4210000, REALIZAT=1330000, VAL_TIMP_S=151000, SUMA_ZILE_CO=187000, vals1=61300,
    vals2=52700, vals3=43900, vals4=38100, SUMA_T_NOAPTE=27300, ALTE_SUME=19100, SPORURI=23500,
    pr_va=112300, Dif_Brut=8700, CM1L=97301, PRIME=131900, CM2L=71329, CIC=55913,
    SumeExcept=34717, BRUT=5123137, SANATATE=333100, PENSIE=486700, SOMAJ=51300,
    VENIT_NET=4251900, Ch_Prof=270100, DED_PERS=1800300, DED_PERS_SUPLI=900700,
    TOTDREPT=1281100, IMPOZIT=294700, AVANS=1000900, RETINERI=12900, AVANS_CO=160100,
    PRIME_INCASATE=14300, POPRIRI=16700, GARANTII=18900, ALTE_RET=21100, RESTPL=2701300,
    TIMP=41, TIMP_SPL=3, ZILE_CO=1, TIMP_NOAPTE=5, ZILE_FP=2, ZILE_CM=4, ZILE_CIC=6)

ROWS = []
for name, tip, multiplier, marks in [
        ("ALFA", "1", 1, dict(ACORD="", Pensionar=0, ALT_VENIT=0, BifaSom=0, Dom="0", Ore_Zi=0)),
        ("BETA", "1", 2, dict(ACORD="D", Pensionar=1, ALT_VENIT=0, BifaSom=0, Dom="0", Ore_Zi=0)),
        ("GAMA", "2", 4, dict(ACORD="", Pensionar=0, ALT_VENIT=1, BifaSom=1, Dom="1", Ore_Zi=4)),
        ("DELTA", "2", 7, dict(ACORD="", Pensionar=0, ALT_VENIT=0, BifaSom=0, Dom="0", Ore_Zi=2))]:
    row = {field: value * multiplier for field, value in BASE.items()}
    row.update(marks, TIP=tip, name=name)
    ROWS.append(row)

# Parameters: hours mode, 168 hours a month; exempt sums in the bases (DA).
TIMP_LUNA, SAL_MIN, SAL_MED = 168, 2500000, 6962000
SOMAJ_FIRM, SANATATE_FIRM, SANATATE_ANG, CAS = 3, 7, Decimal("6.5"), 22
HANDICAP, INVAT, ACCIDENT, COMISION_CM = 4, 2, Decimal("0.5"), Decimal("0.75")

P = [r for r in ROWS if r["TIP"] == "1"]
C = [r for r in ROWS if r["TIP"] == "2"]
CIAS = [r for r in C if r["ALT_VENIT"] == 1]


def total(rows, field):
    return sum(r[field] for r in rows)


def tarifar(r):  # the time value printed on the statement (blank for piece-work)
    if r["TIP"] == "1":
        return None if r["ACORD"] == "D" else round_even(Decimal(r["TIMP"]) * r["SALINC"] / TIMP_LUNA)
    return round_even(Decimal(r["TIMP"]) * (Decimal(r["SALINC"]) / (Decimal(TIMP_LUNA) / 8 * r["Ore_Zi"])))


def fond_salariu(r):
    return r["BRUT"] - r["CIC"] - r["CM2L"] + r["SumeExcept"] if r["TIP"] == "1" else r["BRUT"]


def fond_somaj_firma(r):  # the row's part of the employer's unemployment base
    if r["Pensionar"] == 0 and (r["TIP"] == "1" or r["BifaSom"] == 1):
        return r["BRUT"] - r["CIC"] - r["CM2L"] + r["SumeExcept"]
    return 0


# Company totals.
tarifar_p = sum(r["REALIZAT"] if r["ACORD"] == "D" else tarifar(r) for r in P)
tarifar_c = sum(tarifar(r) for r in C)
exempt_p, exempt_c = total(P, "SumeExcept"), total(C, "SumeExcept")
baza_somaj = (sum(r["BRUT"] - r["CM2L"] - r["CIC"] for r in P if r["Pensionar"] == 0)
              + sum(r["BRUT"] - r["CM2L"] - r["CIC"] for r in C if r["BifaSom"] == 1 and r["Pensionar"] == 0)
              + exempt_p + exempt_c)
baza_cas = (total(P, "BRUT") + total(CIAS, "BRUT") + exempt_p + total(CIAS, "SumeExcept")
            - total(P, "CM2L") - total(P, "CIC") - total(P, "CM1L")
            - total(CIAS, "CM2L") - total(CIAS, "CIC") - total(CIAS, "CM1L"))
baza_sanatate = (total(ROWS, "BRUT") + exempt_p + exempt_c - total(ROWS, "CM2L") - total(ROWS, "CIC"))

# The average number of employees, for the CAS ceiling.
hours = Decimal(0)
for r in ROWS:
    if r["TIP"] == "1":
        hours += (Decimal(r["TIMP"]) / 8 + r["ZILE_CO"]) * 8
    elif r["ALT_VENIT"] == 1:
        hours += Decimal(r["Ore_Zi"]) * (Decimal(r["TIMP"]) / r["Ore_Zi"] + r["ZILE_CO"])
average = Decimal(round_even(Decimal(round_even(hours)) / round_even(Decimal(TIMP_LUNA) / 8 * 8) * 100)) / 100
assert round_even(baza_cas) < round_even(average * 5 * SAL_MED), "under the ceiling"

fond_somaj = round_even(Decimal(baza_somaj) * SOMAJ_FIRM / 100)
m = round_even(Decimal(SAL_MIN) * 2 / round_even(Decimal(TIMP_LUNA) / 8)
               * total(ROWS, "ZILE_CM") * SANATATE_ANG / 100)
fond_sanatate = round_even(Decimal(baza_sanatate) * SANATATE_FIRM / 100) + m
fond_cas = (round_even(Decimal(baza_cas) * CAS / 100) - total(P, "CM2L") - total(P, "CIC")
            - total(CIAS, "CM2L") - total(CIAS, "CIC") - m)
fond_handicap = round_even(Decimal(baza_sanatate) * HANDICAP / 100)  # two permanent: no supplement
fond_cm = round_even(Decimal(baza_sanatate) * COMISION_CM / 100)
fond_invat = round_even(Decimal(baza_somaj) * INVAT / 100)
fond_accident = round_even(Decimal(baza_cas) * ACCIDENT / 100)

print("== statement: the Total row, and the kinds' rows (permanent / partial)")
for field in ["TIMP", "SALINC", "REALIZAT", "TIMP_SPL", "VAL_TIMP_S", "ZILE_CO", "SUMA_ZILE_CO",
              "vals1", "vals2", "vals3", "vals4", "TIMP_NOAPTE", "SUMA_T_NOAPTE", "pr_va",
              "Dif_Brut", "CM1L", "ZILE_FP", "PRIME", "ZILE_CM", "CM2L", "ZILE_CIC", "CIC",
              "SumeExcept", "BRUT", "SANATATE", "PENSIE", "SOMAJ", "VENIT_NET", "Ch_Prof",
              "DED_PERS", "DED_PERS_SUPLI", "TOTDREPT", "IMPOZIT", "AVANS", "RETINERI",
              "AVANS_CO", "PRIME_INCASATE", "POPRIRI", "GARANTII", "ALTE_RET", "RESTPL"]:
    print(field, text(total(ROWS, field)), "/", text(total(P, field)), "/", text(total(C, field)))
print("Tarifar", text(sum(tarifar(r) or 0 for r in ROWS)), "/", text(sum(tarifar(r) or 0 for r in P)),
      "/", text(tarifar_c))
print("AlteSumeSiAlteSporuri", text(total(ROWS, "ALTE_SUME") + total(ROWS, "SPORURI")))
print("FondSalariu", text(sum(fond_salariu(r) for r in ROWS)))
print("summary partial row: pension", text(total(CIAS, "PENSIE")),
      "unemployment", text(sum(r["SOMAJ"] for r in C if r["Dom"] == "1")))
employees_unemployment = total(P, "SOMAJ") + sum(r["SOMAJ"] for r in C if r["Dom"] == "1")
health = total(ROWS, "SANATATE")
cm_state, cic = total(ROWS, "CM2L"), total(ROWS, "CIC")
print("== statement: the employer's and the employees' taxes")
print("Baza Somaj Firma", text(sum(fond_somaj_firma(r) for r in ROWS)))
print("Baza pentru CAS: Permanenti:", text(total(P, "BRUT") + exempt_p),
      "/ Contract partial:", text(total(CIAS, "BRUT") + total(CIAS, "SumeExcept")))
print("Fond somaj", text(fond_somaj), "+", text(employees_unemployment), "=",
      text(fond_somaj + employees_unemployment))
print("Fond sanatate", text(fond_sanatate - m), "+", text(health), "+", text(m), "=",
      text(health + fond_sanatate))
print("CAS total", text(fond_cas + m + cic + cm_state), "-", text(cm_state), "-", text(cic), "-",
      text(m), "=", text(fond_cas))
print("Handicap", text(fond_handicap), "Comision CM", text(fond_cm), "Invatamint",
      text(fond_invat), "Accidente", text(fond_accident))
print("CASS", text(health), "CIAS", text(total(ROWS, "PENSIE")), "somaj",
      text(employees_unemployment), "Impozit", text(total(ROWS, "IMPOZIT")))

print("== recapitulation")
n = lambda field: total(ROWS, field)
rights = (n("VAL_TIMP_S") + n("SUMA_T_NOAPTE") + n("vals1") + n("vals2") + n("vals3") + n("vals4")
          + n("CM1L") + n("PRIME") + n("ALTE_SUME") + n("SPORURI") + n("pr_va") + n("Dif_Brut"))
withheld = (n("PENSIE") + n("SANATATE") + n("SOMAJ") + n("IMPOZIT") + n("AVANS") + n("AVANS_CO")
            + n("ALTE_RET") + n("POPRIRI") + n("GARANTII") + n("RETINERI") + n("PRIME_INCASATE"))
taxes = fond_somaj + fond_sanatate + fond_cas + fond_accident + fond_cm
for line, amount, base in [
        ("1", len(ROWS), None), ("2", n("SALINC"), None), ("3", tarifar_p + tarifar_c, None),
        ("4", rights, None), ("5", n("SUMA_ZILE_CO"), None), ("6", n("BRUT") - cm_state - cic, None),
        ("7", n("SumeExcept"), None), ("8", withheld, None), ("9", n("RESTPL") - cm_state - cic, None),
        ("10", cm_state, None), ("11", cic, None), ("12", n("RESTPL"), None), ("13", taxes, None),
        ("14", fond_somaj, baza_somaj), ("15", fond_sanatate - m, baza_sanatate),
        ("16", fond_cas + m + cm_state + cic, baza_cas), ("17", cm_state + cic, None),
        ("18", fond_cas + m, None), ("19", m, None), ("20", fond_cas, None),
        ("21", fond_accident, baza_cas), ("22", fond_cm, baza_sanatate),
        ("23", n("RESTPL") + taxes, None)]:
    print(line, text(amount), "" if base is None else "base " + text(base))
