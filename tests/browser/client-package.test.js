// The client as a package: `npm pack` in clients/js gives a tarball that installs into a
// scratch project, whose code imports it by name and reads the real service with it (Node's
// fetch stands in for a browser's). ZIR_PROGRAM and ZIR_LAUNCHER: see harness.js.
'use strict';

const { test } = require('node:test');
const assert = require('node:assert/strict');
const childProcess = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const { root, freePort, startZir } = require('./harness');

function run(command, args, cwd) {
  return childProcess.execFileSync(command, args, { cwd, encoding: 'utf8' });
}

// Without blocking this process, whose server answers the program.
function runAside(command, args, cwd) {
  return new Promise((resolve, reject) => childProcess.execFile(command, args, { cwd },
    (error, stdout) => (error ? reject(error) : resolve(stdout))));
}

// Answers that zir gives rarely or never: a UID read that never ends, a 503, no JSON.
async function startOddServer() {
  const server = http.createServer((request, response) => {
    if (request.url === '/?type=UID')
      return; // no answer
    response.writeHead(request.url === '/' ? 503 : 200).end('not json');
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return server;
}

test('the packed client installs, imports by name, reads the card, and names each failure',
     async () => {
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'zir-client-'));
  const zir = await startZir('CardType=1\nName=张三\nUid=A1B2C3D4\n');
  const odd = await startOddServer();
  try {
    const tarball = run('npm', ['pack', '--silent', '--pack-destination', scratch],
                        path.join(root, 'clients', 'js')).trim().split('\n').pop();
    fs.writeFileSync(path.join(scratch, 'package.json'), '{"private":true,"type":"module"}');
    run('npm', ['install', '--no-audit', '--no-fund', '--offline', '--loglevel=error',
                path.join(scratch, tarball)], scratch);
    const installed = path.join(scratch, 'node_modules', 'zir-client');
    assert.deepEqual(fs.readdirSync(installed).sort(), ['package.json', 'zir.d.ts', 'zir.js']);

    fs.writeFileSync(path.join(scratch, 'read.js'), `
      import { ZirClient, ZirError } from 'zir-client';
      const [zir, gone, odd] = process.argv.slice(2).map((port) => new ZirClient({ port }));
      const code = (promise) => promise.then(() => 'answered',
                                             (e) => e instanceof ZirError && e.code);
      const status = await zir.status();
      const uid = await zir.readUid();
      console.log(JSON.stringify({ reader: status.reader, uid: uid.uid,
        failures: [await code(gone.readUid()), await code(odd.readCard()),
                   await code(odd.status()), await code(odd.readUid({ timeoutMs: 300 }))] }));`);
    const out = await runAside('node', ['read.js', String(zir.port), String(await freePort()),
                                        String(odd.address().port)], scratch);
    assert.deepEqual(JSON.parse(out), {
      reader: 'ready', uid: 'A1B2C3D4',
      failures: ['not-running', 'busy', 'invalid-answer', 'timeout'] });
  } finally {
    odd.close();
    await zir.stop();
    fs.rmSync(scratch, { recursive: true, force: true });
  }
});
