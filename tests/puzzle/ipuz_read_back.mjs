// Reads an ipuz file written by arrowgrid-solve back with an independent
// parser, and checks what that parser drops (clue locations, directions,
// answers) on the raw JSON, against the solver's own JSON of the same run.
// Usage: node ipuz_read_back.mjs PARSER_MODULE FILE.ipuz FILE.json
import { readFileSync } from 'node:fs';
import { pathToFileURL } from 'node:url';

const [parserPath, ipuzPath, jsonPath] = process.argv.slice(2);
const { parseIpuz } = await import(pathToFileURL(parserPath).href);
const text = readFileSync(ipuzPath, 'utf8');
const raw = JSON.parse(text);
const result = JSON.parse(readFileSync(jsonPath, 'utf8'));
const failures = [];
const check = (ok, what) => { if (!ok) failures.push(what); };

// The parser's view: kinds, size, cell types and the clue texts by number.
const parsed = parseIpuz(text);
check(JSON.stringify(parsed.kind) ===
      JSON.stringify(['http://ipuz.org/crossword#1', 'http://ipuz.org/crossword/arrowword#1']), 'kind');
check(parsed.dimensions.width === result.box.width && parsed.dimensions.height === result.box.height,
      'dimensions');
result.cells.forEach((cells, row) => cells.forEach((cell, column) => {
  const seen = parsed.puzzle[row][column];
  const expected = { empty: 'null', block: 'block', letter: 'normal' }[cell.kind] ?? 'block';
  check(seen.type === expected, `cell ${column},${row}: ${cell.kind} read as ${seen.type}`);
  if (cell.kind === 'letter') check(seen.solution === cell.letter, `cell ${column},${row}: letter`);
  if (cell.kind === 'both-arrows') check(seen.style?.divided === '-', `cell ${column},${row}: not divided`);
}));

// Every placement is one clue of its direction, located at its arrow cell,
// numbered like its first letter, with the clue and the answer given.
const lists = { right: raw.clues.Across ?? [], down: raw.clues.Down ?? [] };
const parsedLists = { right: parsed.clues.Across ?? [], down: parsed.clues.Down ?? [] };
for (const placement of result.placements) {
  const column = placement.arrow.x - result.box.xMin;
  const row = placement.arrow.y - result.box.yMin;
  const found = lists[placement.direction].filter(
      (clue) => clue.location[0] === column && clue.location[1] === row);
  check(found.length === 1, `${placement.text}: ${found.length} clues at ${column},${row}`);
  if (found.length !== 1) continue;
  const clue = found[0];
  check(clue.answer === placement.text, `${placement.text}: answer ${clue.answer}`);
  check(clue.clue === (placement.clue ?? ''), `${placement.text}: clue ${clue.clue}`);
  const [firstColumn, firstRow] = placement.direction === 'right' ? [column + 1, row] : [column, row + 1];
  check(raw.puzzle[firstRow][firstColumn] === clue.number, `${placement.text}: first letter not numbered`);
  check(parsedLists[placement.direction].some((c) => c.number === clue.number && c.text === clue.clue),
        `${placement.text}: the parser lost its clue`);
  const clueCell = raw.puzzle[row][column];
  check(clueCell?.cell === '#', `${placement.text}: its clue cell is no block`);
}
check(lists.right.length + lists.down.length === result.placements.length, 'clue count');

if (failures.length > 0) {
  console.error(failures.join('\n'));
  process.exit(1);
}
console.log(`${result.placements.length} clues read back`);
