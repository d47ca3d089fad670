-- One recalculation at month's end, for pgbench on the database of measure-catalogue.sh:
-- 50 lines of a company rewritten in one transaction under the company's lock.
-- (2,000 companies of 600 lines: measure-catalogue.sh DATA 2000 600.)
\set c random(1, 2000)
\set s random(1, 551)
SELECT pg_advisory_lock(:c);
BEGIN;
SELECT count(*) FROM firma_c:c.pers WHERE nr BETWEEN :s AND :s + 49;
UPDATE firma_c:c.pers SET brut = brut + 0.01, impozit = impozit + 0.01, restpl = restpl + 0.01 WHERE nr BETWEEN :s AND :s + 49;
COMMIT;
SELECT pg_advisory_unlock(:c);
