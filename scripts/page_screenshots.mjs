// Screenshots of one puzzle page as a player sees it: the first word typed
// with one letter wrong and checked, the second word selected; on a laptop
// (PREFIX-ordinateur.png) and on a phone (PREFIX-telephone.png).
// Usage: node page_screenshots.mjs NPM_MODULES PAGE PREFIX
import { launchBrowser, openPage, LAPTOP, PHONE } from './page_browser.mjs';

const [modules, file, prefix] = process.argv.slice(2);
const browser = await launchBrowser(modules);
for (const [viewport, name] of [[LAPTOP, 'ordinateur'], [PHONE, 'telephone']]) {
  const { page, context } = await openPage(browser, file, viewport);
  const answers = await page.evaluate(() =>
    JSON.parse(document.getElementById('puzzle').textContent).clues.Across.map((entry) => entry.answer));
  await page.focus('.typing');
  const first = answers[0];
  await page.keyboard.type(first.slice(0, -1) + (first.endsWith('Z') ? 'Y' : 'Z'));
  await page.click('button[aria-label="Vérifier le mot"]');
  await page.keyboard.press('Tab');
  await page.keyboard.type(answers[1].slice(0, 2));
  await page.screenshot({ path: `${prefix}-${name}.png`, fullPage: viewport === LAPTOP });
  await context.close();
}
await browser.close();
