// The puzzle page played in headless Chromium, as a player would: pages
// written by arrowgrid-solve from real lists with clues (PAGE, a second
// puzzle in OTHER_PAGE), the answers read from the ipuz document the page
// embeds. Run by puzzle_page_browser.sh.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { launchBrowser, openPage, PHONE } from '../../scripts/page_browser.mjs';

const MODULES = process.env.NPM_MODULES;
const PAGE = process.env.PAGE;
const OTHER_PAGE = process.env.OTHER_PAGE;

let browser;
const opened = [];
before(async () => { browser = await launchBrowser(MODULES); });
after(async () => {
  // Nothing may leave any page: the request log holds nothing but the file.
  for (const { requests } of opened) assert.deepEqual(requests, []);
  await browser.close();
});

async function open(file = PAGE, viewport) {
  const session = await openPage(browser, file, viewport);
  opened.push(session);
  return session;
}

// The words as the page plays them, in Tab order (across, then down, by number).
async function wordsOf(page) {
  return page.evaluate(() => {
    const ipuz = JSON.parse(document.getElementById('puzzle').textContent);
    return ['Across', 'Down'].flatMap((list) => (ipuz.clues[list] || []).map((entry) => ({ ...entry, list })));
  });
}

async function state(page) {
  return page.evaluate(() => ({
    word: [...document.querySelectorAll('td.in-word')].map((td) => td.textContent).join(''),
    positionInWord: [...document.querySelectorAll('td.in-word')].indexOf(document.querySelector('td.current')),
    clue: document.querySelector('.clue-text').textContent,
    solved: !document.querySelector('.solved').hidden,
    message: document.querySelector('.message').textContent,
    focused: document.activeElement?.className,
  }));
}

// The first letter cell of word (its clue cell's neighbour), as a selector.
function firstCellOf(word) {
  const [column, row] = word.location;
  const across = word.list === 'Across';
  return `table.grid tr:nth-child(${row + (across ? 1 : 2)}) td:nth-child(${column + (across ? 2 : 1)})`;
}

// A tap on the word's first letter; on a crossing, a second tap turns to it.
async function selectWord(page, word) {
  await page.click(firstCellOf(word));
  if ((await state(page)).clue !== word.clue) await page.click(firstCellOf(word));
  assert.equal((await state(page)).clue, word.clue);
}

test('a whole puzzle played by keyboard from its solution, word after word by Tab, reaches "Bravo !"', async () => {
  const { page, errors } = await open();
  const words = await wordsOf(page);
  await page.focus('.typing');
  for (const [i, word] of words.entries()) {
    if (i > 0) await page.keyboard.press('Tab');
    const now = await state(page);
    assert.equal(now.clue, word.clue, `Tab leads to word ${i + 1}`);
    assert.equal(now.solved, false, 'not solved before the last letter');
    await page.keyboard.type(word.answer.slice(now.positionInWord));
  }
  const end = await state(page);
  assert.equal(end.solved, true);
  assert.match(end.message, /Bravo !/);
  assert.deepEqual(errors, []);
  // Shift+Tab goes back a word; Tab past the last word leaves the grid for the page.
  await page.keyboard.down('Shift');
  await page.keyboard.press('Tab');
  await page.keyboard.up('Shift');
  assert.equal((await state(page)).clue, words[words.length - 2].clue);
  await page.keyboard.press('Tab');
  await page.keyboard.press('Tab');
  assert.notEqual((await state(page)).focused, 'typing');
});

test('a wrong letter is marked after "Vérifier", and the mark goes when it is retyped', async () => {
  const { page } = await open();
  const [word] = await wordsOf(page);
  await selectWord(page, word);
  const wrong = word.answer[0] === 'Z' ? 'Y' : 'Z';
  await page.keyboard.type(wrong + word.answer[1]);
  await page.click('button[aria-label="Vérifier le mot"]');
  const marks = () => page.$$eval('td.in-word', (tds) => tds.map((td) => td.classList.contains('wrong')));
  assert.deepEqual((await marks()).slice(0, 2), [true, false]);
  assert.match(await page.$eval(firstCellOf(word), (td) => td.getAttribute('aria-label')), /fausse/);
  assert.equal((await state(page)).message, '1 lettre fausse.');
  await selectWord(page, word);
  await page.keyboard.type(word.answer[0]);
  assert.deepEqual((await marks()).slice(0, 2), [false, false]);
});

test('"Révéler le mot" writes the answer in the word; "Effacer le mot" takes it away', async () => {
  const { page } = await open();
  const words = await wordsOf(page);
  const word = words[words.length - 1];
  await selectWord(page, word);
  await page.click('button[aria-label="Révéler le mot"]');
  let now = await state(page);
  assert.equal(now.word, word.answer);
  assert.equal(await page.$$eval('td.in-word.revealed', (tds) => tds.length), word.answer.length);
  await page.click('button[aria-label="Effacer le mot"]');
  now = await state(page);
  assert.equal(now.word, '');
});

test('progress is kept across a reload, and only for its own puzzle', async () => {
  const { page, context } = await open();
  const [word] = await wordsOf(page);
  await page.click(firstCellOf(word));
  await page.keyboard.type(word.answer.slice(0, 2));
  await page.reload({ waitUntil: 'load' });
  assert.equal(await page.$eval(firstCellOf(word), (td) => td.textContent), word.answer[0]);
  // Damaged progress is left out, and is no refusal of storage.
  await page.evaluate(() => localStorage.setItem(localStorage.key(0), '{"letters": ["<b>", 7'));
  await page.reload({ waitUntil: 'load' });
  assert.deepEqual(await page.$eval(firstCellOf(word), (td) => [td.textContent, document.querySelector('.storage-note').hidden]),
                   ['', true]);
  // Every file:// page shares one storage: the other puzzle starts empty.
  const other = await context.newPage();
  await other.goto('file://' + path.resolve(OTHER_PAGE), { waitUntil: 'load' });
  assert.equal(await other.$$eval('td.letter', (tds) => tds.map((td) => td.textContent).join('')), '');
});

test('the page plays on where storage is refused, and says so', async () => {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.evaluateOnNewDocument(() => {
    Object.defineProperty(window, 'localStorage', { get() { throw new DOMException('refused', 'SecurityError'); } });
  });
  await page.goto('file://' + path.resolve(PAGE), { waitUntil: 'load' });
  const [word] = await wordsOf(page);
  await page.click(firstCellOf(word));
  await page.keyboard.type(word.answer[0]);
  assert.equal(await page.$eval(firstCellOf(word), (td) => td.textContent), word.answer[0]);
  assert.equal(await page.$eval('.storage-note', (p) => p.hidden), false);
});

// What a player types, and what the cells then hold: folded as the program
// folds words. The other puzzle has ETE (typed "été") among its words.
const FOLDING_CASES = [
  { typed: 'été', cells: 'ETE' },
  { typed: 'ÉTÉ', cells: 'ETE' },
  { typed: 'e9-t', cells: 'E-T' },  // digits have no place in a grid; the hyphen has
  { typed: 'œ', cells: 'OE' },
  { typed: 'Çà', cells: 'CA' },
];
for (const { typed, cells } of FOLDING_CASES) {
  test(`typing ${typed} fills ${cells}`, async () => {
    const { page } = await open(OTHER_PAGE);
    const words = await wordsOf(page);
    const word = words.find((w) => w.answer.length >= cells.length);
    await selectWord(page, word);
    await page.keyboard.type(typed);
    assert.equal((await state(page)).word.slice(0, cells.length), cells);
  });
}

test('on a 375 x 667 phone a tap raises the input and only the grid box scrolls sideways', async () => {
  const { page } = await open(PAGE, PHONE);
  const [word] = await wordsOf(page);
  await page.tap(firstCellOf(word));
  assert.equal((await state(page)).focused, 'typing');
  const sizes = await page.evaluate(() => {
    const box = document.querySelector('.grid-box');
    const cell = document.querySelector('td.letter').getBoundingClientRect();
    return { pageWidth: document.documentElement.scrollWidth, viewWidth: document.documentElement.clientWidth,
             boxRight: box.getBoundingClientRect().right, cellWidth: cell.width };
  });
  assert.ok(sizes.pageWidth <= sizes.viewWidth, `page ${sizes.pageWidth} px in ${sizes.viewWidth} px`);
  assert.ok(sizes.boxRight <= sizes.viewWidth);
  assert.ok(sizes.cellWidth >= 44, `cells of ${sizes.cellWidth} px`);
  // A phone keyboard sends its letters as input events, without a key.
  await page.evaluate((letter) => {
    const input = document.querySelector('.typing');
    input.value = letter;
    input.dispatchEvent(new InputEvent('input', { inputType: 'insertText', data: letter }));
  }, word.answer[0].toLowerCase());
  assert.equal(await page.$eval(firstCellOf(word), (td) => td.textContent), word.answer[0]);
});

test('axe-core finds nothing serious or critical', async () => {
  const { page } = await open();
  await page.click('td.letter');
  // Evaluated by the debugger, which the page's CSP does not govern.
  await page.evaluate(fs.readFileSync(path.join(MODULES, 'node_modules/axe-core/axe.min.js'), 'utf8'));
  const violations = await page.evaluate(async () => (await window.axe.run(document)).violations
    .map((v) => ({ id: v.id, impact: v.impact, nodes: v.nodes.length })));
  const grave = violations.filter((v) => v.impact === 'serious' || v.impact === 'critical');
  assert.deepEqual(grave, [], JSON.stringify(violations));
  const grid = await page.evaluate(() => ({
    rows: document.querySelectorAll('[role=grid] > tbody > [role=row]').length,
    unlabelled: [...document.querySelectorAll('[role=gridcell]')]
      .filter((td) => !td.getAttribute('aria-label') && !td.textContent.trim()).length,
    height: JSON.parse(document.getElementById('puzzle').textContent).dimensions.height,
  }));
  assert.equal(grid.rows, grid.height);
  assert.equal(grid.unlabelled, 0);
});

// Printed, the page is the empty grid with its clues: no control, no letter.
const PRINT_HIDDEN = ['.tools', '.clue-bar', '.help', '.message'];
test('the print view shows the empty grid and its clues without the controls', async () => {
  const { page } = await open();
  const [word] = await wordsOf(page);
  await page.click(firstCellOf(word));
  await page.keyboard.type(word.answer[0]);
  await page.emulateMediaType('print');
  for (const selector of PRINT_HIDDEN)
    assert.equal(await page.$eval(selector, (e) => getComputedStyle(e).display), 'none', selector);
  assert.equal(await page.$eval('td.letter .glyph', (e) => getComputedStyle(e).visibility), 'hidden');
  assert.notEqual(await page.$eval('.clue-line', (e) => getComputedStyle(e).display), 'none');
  assert.ok(await page.$eval('h1', (e) => e.getBoundingClientRect().height > 0));
});
