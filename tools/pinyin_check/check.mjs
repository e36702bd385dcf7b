// Checks the sample terminology in data/ before it is loaded into ADR.mdb.
//
//   node check.mjs [whoart.tsv [ljxt.tsv]]      (defaults: ../../data/*.tsv)
//
// whoart.tsv  PY NAME ENAME TID SID1 SID2 SID3   one adverse-reaction term per line
// ljxt.tsv    SID NAME ENAME                      one organ system per line
//
// Both files: UTF-8, tab-separated, header line first, no quoting, LF line ends.
// The program compares codes as text, so every code must be exactly four digits
// with its leading zeros, and PY must be what a user types for the Chinese name.
//
// Exit status 0 when everything holds, 1 when any row is reported.

import { readFileSync } from 'node:fs';
import { basename, dirname, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { pinyin } from 'pinyin-pro';

// Words whose medical reading differs from the reading pinyin-pro picks.
// The initials replace pinyin-pro's for the characters of the word, wherever
// the word occurs in a name. Keep this list short and say why for each entry.
export const READING_EXCEPTIONS = [
  // 给药 "to administer a drug" is jǐ yào; pinyin-pro reads the everyday gěi.
  { word: '给药', initials: 'JY' },
  // 荨麻疹 (urticaria) is xún má zhěn in the dictionary; pinyin-pro reads 荨
  // as qián, which is right only for the plant 荨麻 on its own.
  { word: '荨麻疹', initials: 'XMZ' },
];

// The pinyin abbreviation of a Chinese name: the first letter of each
// character's pinyin syllable, upper case. Latin letters in the name (SGPT,
// Stevens-Johnson) are kept one by one, so a user can type them as written;
// everything else that is not A-Z after upper-casing (hyphens, digits, Greek
// letters such as the γ of γ-GT, spaces, punctuation) contributes nothing.
// No pinyin syllable starts with ü (lü, nü start with l, n), so the result
// is always plain A-Z.
export function initialsOf(name) {
  const chars = [...name];
  const letters = pinyin(name, { pattern: 'first', toneType: 'none', type: 'array' });
  if (letters.length !== chars.length) {
    throw new Error(`pinyin-pro returned ${letters.length} items for ${chars.length} characters of "${name}"`);
  }
  for (const { word, initials } of READING_EXCEPTIONS) {
    const wordChars = [...word];
    for (let at = 0; at + wordChars.length <= chars.length; at++) {
      if (wordChars.every((ch, k) => chars[at + k] === ch)) {
        wordChars.forEach((_, k) => { letters[at + k] = initials[k]; });
      }
    }
  }
  return letters.map((l) => l.toUpperCase().replace(/[^A-Z]/g, '')).join('');
}

const CODE = /^[0-9]{4}$/;

// Reads a TSV file strictly: valid UTF-8, LF only, no empty lines, the exact
// header, and the same number of columns on every line.
function readTable(path, header, problems) {
  const label = basename(path);
  let text;
  try {
    text = new TextDecoder('utf-8', { fatal: true }).decode(readFileSync(path));
  } catch (err) {
    problems.push(`${label}: cannot read as UTF-8: ${err.message}`);
    return [];
  }
  if (text.charCodeAt(0) === 0xfeff) problems.push(`${label}: starts with a byte-order mark`);
  if (text.includes('\r')) problems.push(`${label}: contains CR characters (line ends must be LF)`);
  if (!text.endsWith('\n')) problems.push(`${label}: last line has no line end`);
  const lines = text.replace(/\n$/, '').split('\n');
  if (lines[0] !== header.join('\t')) {
    problems.push(`${label}:1: header is "${lines[0]}", expected "${header.join('\\t')}"`);
  }
  const rows = [];
  lines.slice(1).forEach((line, i) => {
    const lineNo = i + 2;
    const cells = line.split('\t');
    if (cells.length !== header.length) {
      problems.push(`${label}:${lineNo}: ${cells.length} columns, expected ${header.length}`);
      return;
    }
    if (cells.some((c) => c !== c.trim())) problems.push(`${label}:${lineNo}: cell with leading or trailing blanks`);
    if (cells.some((c) => c.includes('"'))) problems.push(`${label}:${lineNo}: double quote in a cell (the files are unquoted)`);
    const row = { lineNo };
    header.forEach((h, k) => { row[h] = cells[k]; });
    rows.push(row);
  });
  return rows;
}

function checkUnique(rows, key, label, problems) {
  const seen = new Map();
  for (const row of rows) {
    const value = row[key];
    if (seen.has(value)) problems.push(`${label}:${row.lineNo}: ${key} "${value}" already on line ${seen.get(value)}`);
    else seen.set(value, row.lineNo);
  }
}

function checkSorted(rows, key, label, problems) {
  for (let i = 1; i < rows.length; i++) {
    if (rows[i - 1][key] >= rows[i][key]) {
      problems.push(`${label}:${rows[i].lineNo}: ${key} ${rows[i][key]} does not follow ${rows[i - 1][key]} (rows sorted by ${key})`);
    }
  }
}

function checkEnglish(row, label, problems) {
  if (!row.ENAME) problems.push(`${label}:${row.lineNo}: empty ENAME`);
  else if (row.ENAME !== row.ENAME.toUpperCase()) problems.push(`${label}:${row.lineNo}: ENAME "${row.ENAME}" is not in capitals`);
  if (!row.NAME) problems.push(`${label}:${row.lineNo}: empty NAME`);
}

export function check(whoartPath, ljxtPath) {
  const problems = [];

  const ljxt = basename(ljxtPath);
  const whoart = basename(whoartPath);

  const systems = readTable(ljxtPath, ['SID', 'NAME', 'ENAME'], problems);
  for (const s of systems) {
    if (!CODE.test(s.SID)) problems.push(`${ljxt}:${s.lineNo}: SID "${s.SID}" is not four digits`);
    checkEnglish(s, ljxt, problems);
  }
  checkUnique(systems, 'SID', ljxt, problems);
  checkUnique(systems, 'NAME', ljxt, problems);
  checkSorted(systems, 'SID', ljxt, problems);
  const knownSids = new Set(systems.map((s) => s.SID));

  const terms = readTable(whoartPath, ['PY', 'NAME', 'ENAME', 'TID', 'SID1', 'SID2', 'SID3'], problems);
  const bySidCount = [0, 0, 0, 0];
  for (const t of terms) {
    const where = `${whoart}:${t.lineNo}`;
    if (!CODE.test(t.TID)) problems.push(`${where}: TID "${t.TID}" is not four digits`);
    checkEnglish(t, whoart, problems);

    // SID1 always, SID2 only with SID1, SID3 only with SID2; no code twice.
    const sids = [t.SID1, t.SID2, t.SID3];
    if (!t.SID1) problems.push(`${where}: SID1 is empty`);
    if (!t.SID2 && t.SID3) problems.push(`${where}: SID3 set while SID2 is empty`);
    const used = sids.filter((s) => s !== '');
    for (const sid of used) {
      if (!CODE.test(sid)) problems.push(`${where}: organ-system code "${sid}" is not four digits`);
      else if (!knownSids.has(sid)) problems.push(`${where}: organ-system code ${sid} is not in ${ljxt}`);
    }
    if (new Set(used).size !== used.length) problems.push(`${where}: the same organ system twice in ${used.join(' ')}`);
    bySidCount[used.length]++;

    let expected;
    try {
      expected = initialsOf(t.NAME);
    } catch (err) {
      problems.push(`${where}: ${err.message}`);
      continue;
    }
    if (!/^[A-Z]+$/.test(t.PY)) problems.push(`${where}: PY "${t.PY}" is not upper-case A-Z`);
    if (t.PY !== expected) {
      // The full reading helps to spot a polyphonic character read wrongly;
      // it is pinyin-pro's, before the exceptions above are applied.
      const full = pinyin(t.NAME, { toneType: 'none' });
      problems.push(`${where}: PY "${t.PY}" for ${t.NAME} (pinyin-pro: ${full}), expected "${expected}"`);
    }
  }
  checkUnique(terms, 'TID', whoart, problems);
  checkUnique(terms, 'NAME', whoart, problems);
  checkSorted(terms, 'TID', whoart, problems);

  // Organ systems reached only through SID2/SID3 of some term: the lookup
  // must find a term under every system it names, not just the first.
  const secondaryOnly = new Set();
  for (const t of terms) for (const sid of [t.SID2, t.SID3]) if (sid && sid !== t.SID1) secondaryOnly.add(sid);
  const withoutTerms = systems
    .map((s) => s.SID)
    .filter((sid) => !terms.some((t) => t.SID1 === sid || t.SID2 === sid || t.SID3 === sid));

  const stats = {
    terms: terms.length,
    systems: systems.length,
    oneSystem: bySidCount[1],
    twoSystems: bySidCount[2],
    threeSystems: bySidCount[3],
    apostropheNames: terms.filter((t) => t.ENAME.includes("'")).length,
    latinInName: terms.filter((t) => /[A-Za-z]/.test(t.NAME)).length,
    systemsAlsoAsSecondary: secondaryOnly.size,
    systemsWithoutTerms: withoutTerms,
  };
  return { problems, stats };
}

function main() {
  const here = dirname(fileURLToPath(import.meta.url));
  const whoartPath = resolve(process.argv[2] ?? resolve(here, '../../data/whoart.tsv'));
  const ljxtPath = resolve(process.argv[3] ?? resolve(here, '../../data/ljxt.tsv'));
  const { problems, stats } = check(whoartPath, ljxtPath);
  for (const p of problems) console.log(p);
  console.log(
    `${stats.terms} terms, ${stats.systems} organ systems; ` +
      `terms with 1/2/3 organ systems: ${stats.oneSystem}/${stats.twoSystems}/${stats.threeSystems}; ` +
      `${stats.apostropheNames} English names with an apostrophe; ` +
      `${stats.latinInName} Chinese names with Latin letters; ` +
      `${stats.systemsAlsoAsSecondary} organ systems named in SID2/SID3 of a term filed under another; ` +
      `organ systems without terms: ${stats.systemsWithoutTerms.join(' ') || 'none'}`,
  );
  console.log(problems.length === 0 ? 'OK' : `${problems.length} problem(s)`);
  process.exitCode = problems.length === 0 ? 0 : 1;
}

if (process.argv[1] && import.meta.url === pathToFileURL(resolve(process.argv[1])).href) main();
